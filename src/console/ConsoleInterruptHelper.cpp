#include "console/ConsoleInterruptHelper.h"

#include "support/UniqueHandle.h"

#include <string>
#include <vector>

namespace console {
namespace {

std::wstring PathOf(HMODULE library)
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(library, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size())
            return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

// The rundll32 of the system directory matches this process's architecture, as the library does.
std::wstring HelperProgram()
{
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(system) + L"\\rundll32.exe";
}

}  // namespace

bool StartInterruptHelper(HMODULE library, DWORD consoleProcessId, bool breakKey)
{
    // Without the entry point rundll32 would only show an error box.
    if (library == nullptr || ::GetProcAddress(library, InterruptEntryName) == nullptr)
        return false;
    const std::wstring program = HelperProgram();
    const std::wstring libraryPath = PathOf(library);
    if (program.empty() || libraryPath.empty())
        return false;
    std::wstring commandLine = L"\"" + program + L"\" \"" + libraryPath + L"\",InterruptConsole " +
                               std::to_wstring(consoleProcessId) + (breakKey ? L" 1" : L" 0");
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created = {};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &created))
        return false;
    const support::UniqueHandle process(created.hProcess);
    const support::UniqueHandle thread(created.hThread);
    return true;
}

bool InterpreterSurvivesInterrupt()
{
    const HMODULE system = ::GetModuleHandleW(L"ntdll.dll");
    return system == nullptr || ::GetProcAddress(system, "wine_get_version") == nullptr;
}

}  // namespace console
