#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace console {

// The code pages of a console, as a short-lived helper process attached to it reports them.
struct ConsoleCodePages {
    UINT input = 0;   // in which the interpreter reads its input (GetConsoleCP)
    UINT output = 0;  // in which it writes its output (GetConsoleOutputCP)
};

// One question to the console of the running process `processId`: rundll32 runs
// ReportConsoleCodePage of `library` (which must export it), attached to that console, and returns
// both code pages in its exit code. The question is asked without waiting for the answer, so the
// window's thread goes on while the helper starts and attaches.
class CodePageQuestion {
public:
    // Starts the helper; false when it could not be started.
    bool Ask(DWORD processId, const std::wstring& library);
    bool IsAsked() const noexcept { return static_cast<bool>(helper); }
    // Waits up to `wait` milliseconds for the answer. True once the question is over, with the
    // answer in `pages`: zeros when the helper could not attach or answer within a few seconds of
    // being asked (it is then ended). False while the answer may still come.
    bool Collect(DWORD wait, ConsoleCodePages& pages);
    // The answer is no longer wanted; the helper ends by itself.
    void Forget() noexcept { helper.Reset(); }

private:
    support::UniqueHandle helper;
    ULONGLONG deadline = 0;
};

// The file of `library` as the helper loads it; empty when the library does not export the helper's
// entry point (a program built from the same sources, which rundll32 cannot load).
std::wstring CodePageHelperPath(HMODULE library);

// Whether a typed line may change the console's code page: every line but those of one command,
// one of the interpreter's own that leave it alone.
bool MayChangeCodePage(const std::wstring& line);

}  // namespace console

// The helper's entry point, run by rundll32 with the process id as its command line. It never
// returns: the process ends with the input code page in the high and the output code page in the
// low word of its exit code, or 0.
extern "C" void CALLBACK ReportConsoleCodePageW(HWND window, HINSTANCE instance, LPWSTR commandLine, int show);
