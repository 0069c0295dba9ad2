#pragma once

#include <windows.h>

namespace support {

// Keeps the module that holds this code loaded: a worker thread that may outlive the band that
// started it (one abandoned while blocked in a read) must not run code of an unloaded library.
// Null when the reference could not be taken.
HMODULE PinCodeModule() noexcept;

// Ends the calling thread and only then lets the pinned module go, so the thread never returns
// into code that may already be unloaded.
[[noreturn]] void ExitThreadReleasing(HMODULE pinned, DWORD exitCode) noexcept;

}  // namespace support
