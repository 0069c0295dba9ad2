#pragma once

#include <windows.h>

#include <string>

namespace console {

// The code pages of a console, as a short-lived helper process attached to it reports them.
struct ConsoleCodePages {
    UINT input = 0;   // in which the interpreter reads its input (GetConsoleCP)
    UINT output = 0;  // in which it writes its output (GetConsoleOutputCP)
};

// Asks the console of the running process `processId`: rundll32 runs ReportConsoleCodePage of
// `library` (which must export it), attached to that console, and returns both code pages in its
// exit code. Zeros when the helper could not start, attach or answer within a few seconds.
ConsoleCodePages ProbeConsoleCodePages(DWORD processId, const std::wstring& library);

// The library this code is part of, as the helper loads it; empty when that module does not export
// the helper's entry point (a program built from the same sources).
std::wstring OwnLibraryPath();

// Whether a typed line may change the console's code page: every line but those of one command,
// one of the interpreter's own that leave it alone.
bool MayChangeCodePage(const std::wstring& line);

}  // namespace console

// The helper's entry point, run by rundll32 with the process id as its command line. It never
// returns: the process ends with the input code page in the high and the output code page in the
// low word of its exit code, or 0.
extern "C" void CALLBACK ReportConsoleCodePageW(HWND window, HINSTANCE instance, LPWSTR commandLine, int show);
