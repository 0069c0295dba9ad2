#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace console {

// The programs of the interpreter's console, found from outside it: the browser's process never
// attaches to a console. A console program (one without windows of its own) that the interpreter
// runs belongs to its console; a program with windows, run or started from it, does not, and
// neither does a console program started in a console of its own ("start").

// Whether the process runs a console program.
bool IsConsoleProgram(DWORD processId);

// A console program held open from when it was found, so that its id cannot pass to another
// process before it is ended.
struct HeldProgram {
    support::UniqueHandle process;
    std::wstring name;   // its file's name
    bool ended = false;  // EndPrograms ended it
};

// The console programs among the processes attached to the interpreter's console, the
// interpreter (`interpreterId`) left out, each held open.
std::vector<HeldProgram> HoldConsolePrograms(const std::vector<DWORD>& attached, DWORD interpreterId);

// Ends the programs still running and marks them ended; allocates nothing, so that a console
// that is let go ends them whatever memory is left.
void EndPrograms(std::vector<HeldProgram>& programs) noexcept;

// The names of the programs ended, in their order.
std::vector<std::wstring> NamesOfEnded(const std::vector<HeldProgram>& programs);

// The console programs in `job` other than the interpreter itself: every console program the
// interpreter started that still runs, wherever it is attached.
std::vector<DWORD> ConsoleProgramsIn(HANDLE job, DWORD interpreterId);

// Ends them, for when the interpreter's console cannot be asked which are its own; allocates nothing.
void EndConsolePrograms(HANDLE job, DWORD interpreterId) noexcept;

// Whether the interpreter runs a console program now: it then waits for that program, and what is
// written to its input goes to the program.
bool HasRunningProgram(HANDLE interpreter);

// Ends the console programs the interpreter runs and the console programs below them, for when its
// console cannot be asked which are its own; programs with windows stay. Answers the names of the
// programs ended.
std::vector<std::wstring> EndRunningPrograms(HANDLE interpreter);

}  // namespace console
