#pragma once

#include <windows.h>

#include <optional>
#include <vector>

namespace console {

// The entry point, exported by the band's library, that a helper process runs to list the
// processes attached to hidden consoles: rundll32 passes it the ids of processes, separated by
// spaces. The helper attaches to the console of each in turn, and lists the processes attached to
// each of those consoles whose window is not shown; it writes their ids, each once and its own left
// out, as DWORDs to its standard output and ends with ConsoleProcessesListed once it could attach
// to one of the consoles.
constexpr char ProcessListEntryName[] = "ReportConsoleProcessesW";
constexpr DWORD ConsoleProcessesListed = 1;
// The most processes one answer holds; the answer's pipe holds them all, so the helper never waits
// for it to be read.
constexpr DWORD MostListedProcesses = 4096;

// Asks which processes are attached to the hidden consoles of the running processes `attachedTo`,
// from a short-lived helper process of `library` (which must export the entry point), so that
// this process never attaches to a console. Waits at most `bound` milliseconds; a helper that has
// not answered by then is ended. Nothing when there is no answer: the library has no such entry,
// the helper could not be started or attach to any of the consoles (the processes have ended), or
// it took too long.
std::optional<std::vector<DWORD>> ListConsoleProcesses(HMODULE library, const std::vector<DWORD>& attachedTo,
                                                       DWORD bound);

}  // namespace console

// The helper's entry point, run by rundll32 with the process ids as its command line; never in the
// browser's process. It never returns: the process ends with ConsoleProcessesListed or 0.
extern "C" void CALLBACK ReportConsoleProcessesW(HWND window, HINSTANCE instance, LPWSTR arguments, int show);
