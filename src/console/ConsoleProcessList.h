#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace console {

// The entry point, exported by the band's library, that a helper process runs to list the
// processes attached to a console: rundll32 passes it "<id of a process attached to it>". The
// helper writes their ids as DWORDs, its own left out, to its standard output and ends with
// ConsoleProcessesListed.
constexpr char ProcessListEntryName[] = "ReportConsoleProcessesW";
constexpr DWORD ConsoleProcessesListed = 1;
// The most processes one answer holds; the answer's pipe holds them all, so the helper never waits
// for it to be read.
constexpr DWORD MostListedProcesses = 4096;

// Asks which processes are attached to the console of the running process `consoleProcessId`, from
// a short-lived helper process of `library` (which must export the entry point), so that this
// process never attaches to a console. Waits at most `bound` milliseconds; a helper that has not
// answered by then is ended. Nothing when there is no answer: the library has no such entry, the
// helper could not be started or attach (the process has ended), or it took too long.
std::optional<std::vector<DWORD>> ListConsoleProcesses(HMODULE library, DWORD consoleProcessId, DWORD bound);

}  // namespace console
