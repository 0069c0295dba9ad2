#pragma once

#include <windows.h>

#include <functional>

namespace session {

// The window that holds the console, as its host provides it.
class HostFrame {
public:
    virtual ~HostFrame() = default;

    // The window the console's window is made a child of.
    virtual HWND ParentWindow() = 0;
    // The console's text box gained (or lost) the keyboard focus.
    virtual void FocusChanged(bool hasFocus) = 0;
    // Whether the console may take the keyboard focus when it follows the browser to another folder.
    virtual bool MayTakeFocus() = 0;
    // The loaded library that exports the console helpers' entry points (InterruptConsoleW,
    // ReportConsoleCodePageW), which rundll32 runs; null when there is none, and then the console
    // can neither send Ctrl+C nor learn a changed code page, and says so.
    virtual HMODULE HelperLibrary() = 0;
    // The console's row height changed with its font: a host that sizes the console in rows asks
    // ConsoleSession::RowHeight again.
    virtual void RowHeightChanged() = 0;
    // Runs a window of the console's own that has a message loop of its own (the settings window).
    // The host may let the console go while the window is open; it stays alive meanwhile, and
    // until the console's window message that made this call has returned.
    virtual void RunModal(const std::function<void()>& window) = 0;
};

}  // namespace session
