#include "TabbedWindow.h"

#include "WindowClass.h"

#include <algorithm>

namespace standin {
namespace {

constexpr const wchar_t* FrameClassName = L"CabinetWClass";
// Tabs that closed themselves (IWebBrowser2::Quit) are let go once their window's own
// messages have returned.
constexpr UINT ForgetClosedTabsMessage = WM_APP + 0x110;

}  // namespace

TabbedWindow::~TabbedWindow()
{
    Close();
    tabs.clear();
}

bool TabbedWindow::Create(const std::wstring& folder, const Options& chosen)
{
    if (frame)
        return false;
    options = chosen;
    if (!EnsureWindowClass(FrameClassName, FrameProcedure, ::GetSysColorBrush(COLOR_BTNFACE)))
        return false;
    frame.Reset(::CreateWindowExW(0, FrameClassName, L"Stand-in file browser", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 900, 640, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), this));
    if (!frame || !AddTab(folder, true)) {
        Close();
        return false;
    }
    ::ShowWindow(frame.Get(), SW_SHOW);
    return true;
}

bool TabbedWindow::AddTab(const std::wstring& folder, bool activate)
{
    if (!frame)
        return false;
    auto browser = std::make_unique<BrowserWindow>();
    BrowserOptions tabOptions = options.browser;
    tabOptions.tabOf = frame.Get();
    tabOptions.endMessageLoopOnClose = false;
    tabOptions.backgroundTab = false;
    BrowserWindow* created = browser.get();
    tabOptions.navigated = [this, created] { TabNavigated(created); };
    if (!browser->Create(folder, tabOptions))
        return false;
    tabs.push_back({std::move(browser), nullptr});
    if (activate || tabs.size() == 1)
        active = tabs.size() - 1;
    ShowActiveTab();
    // Registered once it is in place, so that whoever the registration wakes finds the tabs as they are.
    tabs.back().registration = std::make_unique<ShellWindowRegistration>(created->Browser(), frame.Get(),
                                                                         created->Folder());
    return true;
}

void TabbedWindow::ActivateTab(size_t index)
{
    if (index >= tabs.size() || index == active)
        return;
    active = index;
    ShowActiveTab();
}

void TabbedWindow::CloseTab(size_t index)
{
    if (index >= tabs.size())
        return;
    tabs[index].browser->Close();
    ForgetClosedTabs();
}

void TabbedWindow::Close()
{
    if (!frame || closing)
        return;
    closing = true;
    for (Tab& tab : tabs)
        tab.browser->Close();
    tabs.clear();
    frame.Reset();
}

bool TabbedWindow::RouteMessage(MSG& message)
{
    for (Tab& tab : tabs) {
        const HWND window = tab.browser->Window();
        if (window && (message.hwnd == window || ::IsChild(window, message.hwnd)))
            return tab.browser->RouteMessage(message);
    }
    return false;
}

void TabbedWindow::OnCommand(WORD command)
{
    if (command == NewWindowCommand) {
        if (options.openWindow)
            options.openWindow(ActiveFolder());
    } else if (command == NewTabCommand) {
        AddTab(ActiveFolder(), true);
    } else if (command == CloseTabCommand) {
        CloseTab(active);
    } else if (command >= FirstTabCommand && command <= LastTabCommand) {
        ActivateTab(static_cast<size_t>(command - FirstTabCommand));
    }
}

void TabbedWindow::TabNavigated(BrowserWindow* browser)
{
    for (size_t index = 0; index < tabs.size(); ++index) {
        if (tabs[index].browser.get() != browser)
            continue;
        if (tabs[index].registration)
            tabs[index].registration->Navigated(browser->Folder());
        if (index == active)
            ::SetWindowTextW(frame.Get(), WindowText(browser->Window()).c_str());
    }
}

// The active tab stays active when it is still there; otherwise the one that took its place.
void TabbedWindow::ForgetClosedTabs()
{
    if (closing)
        return;
    const BrowserWindow* wasActive = active < tabs.size() ? tabs[active].browser.get() : nullptr;
    const size_t oldActive = active;
    // Taken out first: releasing a tab revokes it, a call during which messages may run.
    std::vector<Tab> closed;
    for (auto tab = tabs.begin(); tab != tabs.end();) {
        if (tab->browser->IsOpen()) {
            ++tab;
        } else {
            closed.push_back(std::move(*tab));
            tab = tabs.erase(tab);
        }
    }
    if (tabs.empty()) {
        closed.clear();
        Close();
        return;
    }
    const auto kept = std::find_if(tabs.begin(), tabs.end(), [&](const Tab& tab) { return tab.browser.get() == wasActive; });
    active = kept != tabs.end() ? static_cast<size_t>(kept - tabs.begin()) : std::min(oldActive, tabs.size() - 1);
    ShowActiveTab();
    closed.clear();
}

void TabbedWindow::ShowActiveTab()
{
    for (size_t index = 0; index < tabs.size(); ++index) {
        if (index != active)
            ::ShowWindow(tabs[index].browser->Window(), SW_HIDE);
    }
    const HWND shown = tabs[active].browser->Window();
    ::SetWindowPos(shown, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetWindowTextW(frame.Get(), WindowText(shown).c_str());
    for (size_t index = 0; index < tabs.size(); ++index) {
        if (tabs[index].registration)
            tabs[index].registration->Activated(index == active);
    }
}

void TabbedWindow::PlaceTabs()
{
    RECT area = {};
    ::GetClientRect(frame.Get(), &area);
    for (Tab& tab : tabs)
        ::MoveWindow(tab.browser->Window(), 0, 0, area.right, area.bottom, TRUE);
}

std::wstring TabbedWindow::ActiveFolder() const
{
    return active < tabs.size() ? tabs[active].browser->Folder() : L"";
}

LRESULT TabbedWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        PlaceTabs();
        return 0;
    case WM_SETFOCUS:
        if (active < tabs.size())
            ::SetFocus(tabs[active].browser->Window());
        return 0;
    case WM_COMMAND:
        if (lParam == 0)
            OnCommand(LOWORD(wParam));
        return 0;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_DESTROY)
            ::PostMessageW(window, ForgetClosedTabsMessage, 0, 0);
        return 0;
    case ForgetClosedTabsMessage:
        ForgetClosedTabs();
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_NCDESTROY:
        // Gone, whoever destroyed it: its tabs have gone with it.
        frame.Release();
        tabs.clear();
        if (options.closed)
            options.closed();
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK TabbedWindow::FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TabbedWindow* owner = WindowOwner<TabbedWindow>(window, message, lParam);
    if (!owner)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return owner->OnMessage(window, message, wParam, lParam);
}

}  // namespace standin
