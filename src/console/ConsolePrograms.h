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

}  // namespace console
