#include "server/ConsoleInterruptEntry.h"

#include <cwchar>

namespace {

// The helper itself stays to the end of its work whatever the console sends it.
BOOL WINAPI IgnoreControlEvent(DWORD)
{
    return TRUE;
}

}  // namespace

extern "C" void CALLBACK InterruptConsoleW(HWND, HINSTANCE, LPWSTR arguments, int)
{
    if (arguments == nullptr)
        return;
    wchar_t* rest = nullptr;
    const auto interpreterId = static_cast<DWORD>(std::wcstoul(arguments, &rest, 10));
    const DWORD event = std::wcstoul(rest, nullptr, 10) == 1 ? CTRL_BREAK_EVENT : CTRL_C_EVENT;
    if (interpreterId == 0)
        return;
    ::FreeConsole();
    if (!::AttachConsole(interpreterId))
        return;
    ::SetConsoleCtrlHandler(IgnoreControlEvent, TRUE);
    ::GenerateConsoleCtrlEvent(event, 0);
    ::FreeConsole();
}
