#pragma once

#include <windows.h>

// Run by rundll32 in a helper process of its own, never in the browser: attaches to the console
// of the interpreter whose process id the arguments name and sends it Ctrl+C (argument 0) or
// Ctrl+Break (argument 1), which reaches every program running in that console.
extern "C" void CALLBACK InterruptConsoleW(HWND window, HINSTANCE instance, LPWSTR arguments, int show);
