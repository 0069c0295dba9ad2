#pragma once

#include <windows.h>

namespace console {

// The entry point, exported by the band's library, that a helper process runs to send a console
// its Ctrl+C: rundll32 passes it "<interpreter process id> <0 for Ctrl+C, 1 for Ctrl+Break>".
constexpr char InterruptEntryName[] = "InterruptConsoleW";

// Starts rundll32 on the entry point of `library` for the console of the given process and lets it
// run on its own. False when the library has no such entry point or the helper could not be started.
bool StartInterruptHelper(HMODULE library, DWORD consoleProcessId, bool breakKey);

// Whether the interpreter returns to its prompt after its console's Ctrl+C. Wine's ends instead,
// so there the program must be ended from outside.
bool InterpreterSurvivesInterrupt();

}  // namespace console
