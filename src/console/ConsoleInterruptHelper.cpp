#include "console/ConsoleInterruptHelper.h"

#include "console/LibraryHelper.h"
#include "support/ModulePath.h"

#include <string>

namespace console {

bool StartInterruptHelper(HMODULE library, DWORD consoleProcessId, bool breakKey)
{
    // Without the entry point rundll32 would only show an error box.
    if (library == nullptr || ::GetProcAddress(library, InterruptEntryName) == nullptr)
        return false;
    const std::wstring arguments = std::to_wstring(consoleProcessId) + (breakKey ? L" 1" : L" 0");
    // It runs on its own: nothing here waits for it.
    return static_cast<bool>(StartLibraryHelper(support::ModulePath(library), L"InterruptConsole", arguments, CREATE_NO_WINDOW));
}

bool InterpreterSurvivesInterrupt()
{
    const HMODULE system = ::GetModuleHandleW(L"ntdll.dll");
    return system == nullptr || ::GetProcAddress(system, "wine_get_version") == nullptr;
}

}  // namespace console
