#pragma once

#include "TabbedWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace standin {

// The windows of one stand-in process that shows itself in the shell's window list
// (StandInBrowser --shell-window), as Explorer keeps all its windows in one process: the first
// window, those opened with NewWindowCommand, and the message loop that runs until the last of
// them has closed.
class WindowSet {
public:
    explicit WindowSet(const TabbedWindow::Options& options);
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // A new window with one tab at the folder; null when it could not be opened.
    TabbedWindow* Open(const std::wstring& folder);
    // Returns once the last window has closed.
    int RunMessageLoop();

private:
    bool RouteMessage(MSG& message);
    void WindowClosed();

    TabbedWindow::Options options;
    std::vector<std::unique_ptr<TabbedWindow>> windows;
};

}  // namespace standin
