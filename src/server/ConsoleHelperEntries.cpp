#include "server/ConsoleHelperEntries.h"

#include "console/ConsoleProcessList.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace {

// The helper itself stays to the end of its work whatever the console sends it.
BOOL WINAPI IgnoreControlEvent(DWORD)
{
    return TRUE;
}

// Attaches to the console of the process; false when it has none.
bool AttachToConsoleOf(DWORD processId)
{
    ::FreeConsole();
    if (processId == 0 || !::AttachConsole(processId))
        return false;
    ::SetConsoleCtrlHandler(IgnoreControlEvent, TRUE);
    return true;
}

// Adds the processes attached to the console this helper is attached to, itself left out and each
// once. False when they could not be listed.
bool AddConsoleProcesses(std::vector<DWORD>& listed)
{
    std::vector<DWORD> ids(console::MostListedProcesses);
    const DWORD count = ::GetConsoleProcessList(ids.data(), static_cast<DWORD>(ids.size()));
    // A count above the room means the list did not fit and nothing was stored.
    if (count == 0 || count > ids.size())
        return false;
    for (DWORD index = 0; index < count && listed.size() < console::MostListedProcesses; ++index)
        if (ids[index] != ::GetCurrentProcessId() && std::find(listed.begin(), listed.end(), ids[index]) == listed.end())
            listed.push_back(ids[index]);
    return true;
}

}  // namespace

extern "C" void CALLBACK InterruptConsoleW(HWND, HINSTANCE, LPWSTR arguments, int)
{
    if (arguments == nullptr)
        return;
    wchar_t* rest = nullptr;
    const auto processId = static_cast<DWORD>(std::wcstoul(arguments, &rest, 10));
    if (!AttachToConsoleOf(processId))
        return;
    const DWORD event = std::wcstoul(rest, nullptr, 10) == 1 ? CTRL_BREAK_EVENT : CTRL_C_EVENT;
    ::GenerateConsoleCtrlEvent(event, 0);
    ::FreeConsole();
}

extern "C" void CALLBACK ReportConsoleProcessesW(HWND, HINSTANCE, LPWSTR arguments, int)
{
    // Taken before attaching, which may give the helper the console's own standard handles.
    const HANDLE answer = ::GetStdHandle(STD_OUTPUT_HANDLE);
    std::vector<DWORD> listed;
    bool asked = false;
    for (wchar_t* next = arguments; next != nullptr && *next != L'\0';) {
        wchar_t* rest = nullptr;
        const auto processId = static_cast<DWORD>(std::wcstoul(next, &rest, 10));
        if (rest == next)
            break;
        next = rest;
        if (!AttachToConsoleOf(processId))
            continue;
        // A console shown on screen is one the user works in.
        const HWND window = ::GetConsoleWindow();
        if (window == nullptr || !::IsWindowVisible(window))
            asked = AddConsoleProcesses(listed) || asked;
        else
            asked = true;
    }
    ::FreeConsole();
    const auto size = static_cast<DWORD>(listed.size() * sizeof(DWORD));
    DWORD written = 0;
    const bool answered = asked && (size == 0 || (::WriteFile(answer, listed.data(), size, &written, nullptr) &&
                                                  written == size));
    ::ExitProcess(answered ? console::ConsoleProcessesListed : 0);
}
