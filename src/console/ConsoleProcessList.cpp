#include "console/ConsoleProcessList.h"

#include "console/ChildPipe.h"
#include "console/LibraryHelper.h"
#include "support/ModulePath.h"

#include <algorithm>
#include <cwchar>
#include <string>

namespace console {
namespace {

// The helper stays to the end of its work whatever the console is sent meanwhile.
BOOL WINAPI IgnoreControlEvent(DWORD)
{
    return TRUE;
}

bool AttachToConsoleOf(DWORD processId)
{
    ::FreeConsole();
    if (processId == 0 || !::AttachConsole(processId))
        return false;
    ::SetConsoleCtrlHandler(IgnoreControlEvent, TRUE);
    return true;
}

// Adds the processes attached to the console the helper is attached to, itself left out and each
// once. False when they could not be listed.
bool AddConsoleProcesses(std::vector<DWORD>& listed)
{
    std::vector<DWORD> ids(MostListedProcesses);
    const DWORD count = ::GetConsoleProcessList(ids.data(), static_cast<DWORD>(ids.size()));
    // A count above the room means the list did not fit and nothing was stored.
    if (count == 0 || count > ids.size())
        return false;
    for (DWORD index = 0; index < count && listed.size() < MostListedProcesses; ++index)
        if (ids[index] != ::GetCurrentProcessId() && std::find(listed.begin(), listed.end(), ids[index]) == listed.end())
            listed.push_back(ids[index]);
    return true;
}

std::optional<std::vector<DWORD>> ReadAnswer(HANDLE answer)
{
    std::vector<DWORD> ids(MostListedProcesses);
    DWORD size = 0;
    const DWORD capacity = static_cast<DWORD>(ids.size() * sizeof(DWORD));
    DWORD read = 0;
    // The helper has ended, so the pipe gives what it wrote and then reports its end.
    while (size < capacity &&
           ::ReadFile(answer, reinterpret_cast<char*>(ids.data()) + size, capacity - size, &read, nullptr) &&
           read != 0)
        size += read;
    if (size % sizeof(DWORD) != 0)
        return std::nullopt;
    ids.resize(size / sizeof(DWORD));
    return ids;
}

}  // namespace

std::optional<std::vector<DWORD>> ListConsoleProcesses(HMODULE library, const std::vector<DWORD>& attachedTo,
                                                       DWORD bound)
{
    // Without the entry point rundll32 would only show an error box.
    if (library == nullptr || attachedTo.empty() || ::GetProcAddress(library, ProcessListEntryName) == nullptr)
        return std::nullopt;
    std::wstring arguments;
    for (const DWORD processId : attachedTo)
        arguments += (arguments.empty() ? L"" : L" ") + std::to_wstring(processId);
    ChildPipe answer = CreateChildPipe(ChildEnd::Writes, MostListedProcesses * sizeof(DWORD));
    if (!answer.childEnd)
        return std::nullopt;
    // Detached, so that it has no console of its own to leave before it attaches to the interpreter's.
    const support::UniqueHandle helper =
        StartLibraryHelper(support::ModulePath(library), L"ReportConsoleProcesses", arguments, DETACHED_PROCESS,
                           answer.childEnd.Get());
    // Only the helper holds the write end now: its end ends the answer.
    answer.childEnd.Reset();
    if (!helper)
        return std::nullopt;
    DWORD exitCode = 0;
    if (::WaitForSingleObject(helper.Get(), bound) != WAIT_OBJECT_0) {
        ::TerminateProcess(helper.Get(), 0);
        return std::nullopt;
    }
    if (!::GetExitCodeProcess(helper.Get(), &exitCode) || exitCode != ConsoleProcessesListed)
        return std::nullopt;
    return ReadAnswer(answer.parentEnd.Get());
}

}  // namespace console

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
        if (!console::AttachToConsoleOf(processId))
            continue;
        // A console shown on screen is one the user works in.
        const HWND window = ::GetConsoleWindow();
        if (window == nullptr || !::IsWindowVisible(window))
            asked = console::AddConsoleProcesses(listed) || asked;
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
