#include "WindowSet.h"

#include "MessagePump.h"

#include <algorithm>

namespace standin {

WindowSet::WindowSet(const TabbedWindow::Options& chosen) : options(chosen)
{
    options.openWindow = [this](const std::wstring& folder) { Open(folder); };
    options.closed = [this] { WindowClosed(); };
}

TabbedWindow* WindowSet::Open(const std::wstring& folder)
{
    auto window = std::make_unique<TabbedWindow>();
    if (!window->Create(folder, options))
        return nullptr;
    windows.push_back(std::move(window));
    return windows.back().get();
}

int WindowSet::RunMessageLoop()
{
    MSG message = {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        DeliverMessage(message, [this](MSG& routed) { return RouteMessage(routed); });
    return static_cast<int>(message.wParam);
}

bool WindowSet::RouteMessage(MSG& message)
{
    const HWND top = ::GetAncestor(message.hwnd, GA_ROOT);
    for (const std::unique_ptr<TabbedWindow>& window : windows) {
        if (window->IsOpen() && window->Window() == top)
            return window->RouteMessage(message);
    }
    return false;
}

// Closed windows stay in the set (one of them may be on the stack) until the process ends.
void WindowSet::WindowClosed()
{
    const bool anyOpen = std::any_of(windows.begin(), windows.end(),
                                     [](const std::unique_ptr<TabbedWindow>& window) { return window->IsOpen(); });
    if (!anyOpen)
        ::PostQuitMessage(0);
}

}  // namespace standin
