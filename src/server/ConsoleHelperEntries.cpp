#include "server/ConsoleHelperEntries.h"

#include "console/ConsoleProcessList.h"

#include <cwchar>
#include <vector>

namespace {

// The helper itself stays to the end of its work whatever the console sends it.
BOOL WINAPI IgnoreControlEvent(DWORD)
{
    return TRUE;
}

// Attaches to the console of the process the arguments name first; false when there is none.
bool AttachToConsoleOf(const wchar_t* arguments, wchar_t** rest)
{
    if (arguments == nullptr)
        return false;
    const auto processId = static_cast<DWORD>(std::wcstoul(arguments, rest, 10));
    if (processId == 0)
        return false;
    ::FreeConsole();
    if (!::AttachConsole(processId))
        return false;
    ::SetConsoleCtrlHandler(IgnoreControlEvent, TRUE);
    return true;
}

}  // namespace

extern "C" void CALLBACK InterruptConsoleW(HWND, HINSTANCE, LPWSTR arguments, int)
{
    wchar_t* rest = nullptr;
    if (!AttachToConsoleOf(arguments, &rest))
        return;
    const DWORD event = std::wcstoul(rest, nullptr, 10) == 1 ? CTRL_BREAK_EVENT : CTRL_C_EVENT;
    ::GenerateConsoleCtrlEvent(event, 0);
    ::FreeConsole();
}

extern "C" void CALLBACK ReportConsoleProcessesW(HWND, HINSTANCE, LPWSTR arguments, int)
{
    // Taken before attaching, which may give the helper the console's own standard handles.
    const HANDLE answer = ::GetStdHandle(STD_OUTPUT_HANDLE);
    wchar_t* rest = nullptr;
    if (!AttachToConsoleOf(arguments, &rest))
        ::ExitProcess(0);
    std::vector<DWORD> ids(console::MostListedProcesses);
    const DWORD count = ::GetConsoleProcessList(ids.data(), static_cast<DWORD>(ids.size()));
    ::FreeConsole();
    // A count above the room means the list did not fit and nothing was stored.
    if (count == 0 || count > ids.size())
        ::ExitProcess(0);
    ids.resize(count);
    for (auto id = ids.begin(); id != ids.end();)
        id = *id == ::GetCurrentProcessId() ? ids.erase(id) : id + 1;
    const auto size = static_cast<DWORD>(ids.size() * sizeof(DWORD));
    DWORD written = 0;
    const bool answered = size == 0 || (::WriteFile(answer, ids.data(), size, &written, nullptr) && written == size);
    ::ExitProcess(answered ? console::ConsoleProcessesListed : 0);
}
