#include "console/LibraryHelper.h"

#include "console/InheritedHandleList.h"
#include "support/SystemFolder.h"

#include <vector>

namespace console {

support::UniqueHandle StartLibraryHelper(const std::wstring& libraryPath, const wchar_t* entry,
                                         const std::wstring& arguments, DWORD creationFlags, HANDLE answer)
{
    const std::wstring system = support::SystemFolder();
    if (libraryPath.empty() || system.empty())
        return support::UniqueHandle();
    const std::wstring program = system + L"\\rundll32.exe";
    std::wstring commandLine = L"\"" + program + L"\" \"" + libraryPath + L"\"," + entry + L" " + arguments;
    const InheritedHandleList inherited(answer ? std::vector<HANDLE>{answer} : std::vector<HANDLE>{});
    if (answer && !inherited.Get())
        return support::UniqueHandle();
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof(STARTUPINFOW);
    if (answer) {
        startup.StartupInfo.cb = sizeof(STARTUPINFOEXW);
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdOutput = answer;
        startup.lpAttributeList = inherited.Get();
        creationFlags |= EXTENDED_STARTUPINFO_PRESENT;
    }
    PROCESS_INFORMATION created = {};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, answer ? TRUE : FALSE, creationFlags,
                          nullptr, system.c_str(), &startup.StartupInfo, &created))
        return support::UniqueHandle();
    const support::UniqueHandle thread(created.hThread);
    return support::UniqueHandle(created.hProcess);
}

}  // namespace console
