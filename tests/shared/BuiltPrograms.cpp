#include "shared/BuiltPrograms.h"

#include "ThisProgram.h"

namespace testsupport {
namespace {

std::wstring FolderOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

}  // namespace

// Test programs are build/<architecture>/tests/test_*.exe.
std::wstring BuiltToolPath(const std::wstring& relative)
{
    return FolderOf(FolderOf(standin::ThisProgramPath())) + L"\\tools\\" + relative;
}

std::wstring BuiltProductPath(const std::wstring& name)
{
    return FolderOf(FolderOf(standin::ThisProgramPath())) + L"\\" + name;
}

support::UniqueHandle StartProgram(const std::wstring& program, const std::vector<std::wstring>& arguments,
                                   DWORD* processId)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments)
        commandLine += L" \"" + argument + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return support::UniqueHandle();
    ::CloseHandle(started.hThread);
    if (processId)
        *processId = started.dwProcessId;
    return support::UniqueHandle(started.hProcess);
}

int RunToEnd(const std::wstring& program, const std::vector<std::wstring>& arguments, DWORD timeoutMs)
{
    const support::UniqueHandle process = StartProgram(program, arguments);
    if (!process)
        return -1;
    if (::WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
        return -1;
    }
    DWORD exitCode = 0;
    return ::GetExitCodeProcess(process.Get(), &exitCode) ? static_cast<int>(exitCode) : -1;
}

HMODULE BuiltHelperLibrary()
{
    static const HMODULE library = ::LoadLibraryExW(
        (FolderOf(FolderOf(standin::ThisProgramPath())) + L"\\Brimblestone.dll").c_str(), nullptr,
        DONT_RESOLVE_DLL_REFERENCES);
    return library;
}

}  // namespace testsupport
