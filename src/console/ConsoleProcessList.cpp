#include "console/ConsoleProcessList.h"

#include "console/ChildPipe.h"
#include "console/LibraryHelper.h"

#include <string>

namespace console {
namespace {

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
        StartLibraryHelper(ModulePath(library), L"ReportConsoleProcesses", arguments, DETACHED_PROCESS,
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
