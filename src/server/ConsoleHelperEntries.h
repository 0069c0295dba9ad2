#pragma once

#include <windows.h>

// The entry points that rundll32 runs in a helper process of its own, never in the browser: each
// attaches to the console of a process whose id its arguments name, the interpreter's.

// Sends that console Ctrl+C (argument 0) or Ctrl+Break (argument 1), which reaches every program
// running in it.
extern "C" void CALLBACK InterruptConsoleW(HWND window, HINSTANCE instance, LPWSTR arguments, int show);

// Writes the ids of the processes attached to the consoles of the processes the arguments name, of
// those consoles whose window is not shown, to its standard output (see console/ConsoleProcessList.h).
extern "C" void CALLBACK ReportConsoleProcessesW(HWND window, HINSTANCE instance, LPWSTR arguments, int show);
