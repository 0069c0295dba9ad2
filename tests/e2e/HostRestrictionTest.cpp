#include "ServerLibrary.h"
#include "server/HostRestriction.h"
#include "support/UniqueHandle.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HostRestriction, TheWebBrowsersProgramIsRefusedInAnyCaseOthersAreNot)
{
    EXPECT_TRUE(server::IsRefusedHost(L"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE"));
    EXPECT_TRUE(server::IsRefusedHost(L"c:\\program files\\internet explorer\\iexplore.exe"));
    EXPECT_TRUE(server::IsRefusedHost(L"D:\\Tools\\IExplore.exe"));
    EXPECT_FALSE(server::IsRefusedHost(L"C:\\WINDOWS\\explorer.exe"));
    EXPECT_FALSE(server::IsRefusedHost(L"C:\\Program Files\\Internet Explorer\\iexplore.com"));
    EXPECT_FALSE(server::IsRefusedHost(L""));
    EXPECT_FALSE(server::IsRefusedHostProcess());
}

// The probe program loads the library under the file name the test gives it.
DWORD LoadUnderName(const wchar_t* programName)
{
    const std::wstring program = e2e::ScratchFolder() + L"\\" + programName;
    if (!::CopyFileW((e2e::BuildFolder() + L"\\tools\\LibraryProbe.exe").c_str(), program.c_str(), FALSE))
        return ERROR_FILE_NOT_FOUND;
    std::wstring commandLine = L"\"" + program + L"\" \"" + e2e::LibraryPath() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created = {};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &created))
        return ::GetLastError();
    const support::UniqueHandle process(created.hProcess);
    const support::UniqueHandle thread(created.hThread);
    DWORD exitCode = STILL_ACTIVE;
    if (::WaitForSingleObject(process.Get(), 20000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.Get(), &exitCode);
    else
        ::TerminateProcess(process.Get(), exitCode);
    ::WaitForSingleObject(process.Get(), 20000);
    ::DeleteFileW(program.c_str());
    return exitCode;
}

TEST(HostRestriction, TheLibraryRefusesToLoadIntoTheWebBrowsersProcess)
{
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), LoadUnderName(L"explorer.exe"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DLL_INIT_FAILED), LoadUnderName(L"iexplore.exe"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DLL_INIT_FAILED), LoadUnderName(L"IExplore.EXE"));
}

}  // namespace
