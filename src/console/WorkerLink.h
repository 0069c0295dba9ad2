#pragma once

#include <windows.h>

#include <atomic>

namespace console {

// What one started interpreter shares with its worker threads. Each worker holds it for as long as
// it runs, so a worker that Stop had to leave behind never touches freed state.
struct WorkerLink {
    WorkerLink(HWND notifyWindow, UINT codePage) noexcept : notifyWindow(notifyWindow), codePage(codePage) {}

    const HWND notifyWindow;
    // The code page of the interpreter's output; it follows the console's when that changes.
    std::atomic<UINT> codePage;
    // Set by Stop before anything is released: from then on nothing more reaches the window.
    std::atomic<bool> stopping{false};
};

}  // namespace console
