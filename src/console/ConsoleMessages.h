#pragma once

#include <windows.h>

namespace console {

// What the console tells the window it notifies, and the timer it sets there. The window hands
// CodePageTimer to ConsoleProcess::OnCodePageTimer; the other rooms keep clear of these numbers.

// Posted: the interpreter's output waits in its queue.
constexpr UINT OutputWaitingMessage = WM_APP + 3;
// Sent: the interpreter ended by itself, and everything it wrote is queued.
constexpr UINT InterpreterEndedMessage = WM_APP + 5;
// Set while the console follows the interpreter's code page.
constexpr UINT_PTR CodePageTimer = 0x4301;

}  // namespace console
