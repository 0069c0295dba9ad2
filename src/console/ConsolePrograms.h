#pragma once

#include <windows.h>

namespace console {

// The programs of the interpreter's console, found from outside it: the browser's process never
// attaches to a console. A console program (one without windows of its own) that the interpreter
// runs belongs to its console; a program with windows, run or started from it, does not.

// Whether the process runs a console program.
bool IsConsoleProgram(DWORD processId);

// Ends the console programs in `job` other than the interpreter itself.
void EndConsolePrograms(HANDLE job, DWORD interpreterId);

// Whether the interpreter runs a console program now: it then waits for that program, and what is
// written to its input goes to the program.
bool HasRunningProgram(HANDLE interpreter);

// Ends the console programs the interpreter runs, each with every process it started.
void EndRunningPrograms(HANDLE interpreter);

}  // namespace console
