#pragma once

#include "BrowserWindow.h"
#include "ShellWindowRegistration.h"
#include "support/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace standin {

// WM_COMMAND identifiers that a tabbed window takes from any process, as its menu and keys give
// them. Sent (not posted), the command has been carried out when SendMessage returns.
enum TabCommand : WORD {
    // A new window of the same process at the active tab's folder.
    NewWindowCommand = 0x7100,
    // A new tab at the active tab's folder, which becomes the active one.
    NewTabCommand = 0x7101,
    // Closes the active tab; the window closes with its last tab.
    CloseTabCommand = 0x7102,
    // FirstTabCommand + n makes tab n (counted in the order the tabs were opened) the active one.
    FirstTabCommand = 0x7140,
    LastTabCommand = 0x717F,
};

// A file-browser window as today's browser draws it: a "CabinetWClass" top window whose tabs
// are "ShellTabWindowClass" children, the active tab shown and top-most, the others hidden
// behind it. Each tab is a browser of its own (a BrowserWindow with its own IWebBrowser2 and
// IShellBrowser) and is registered in the shell's window list with the top window, so that
// programs that follow the browser from outside find every tab as its own entry.
class TabbedWindow {
public:
    struct Options {
        // For every tab (BrowserOptions::tabOf and ::navigated are the window's own).
        BrowserOptions browser;
        // Opens a new window at the folder (NewWindowCommand).
        std::function<void(const std::wstring& folder)> openWindow;
        // Called once the top window is gone.
        std::function<void()> closed;
    };

    TabbedWindow() = default;
    ~TabbedWindow();
    TabbedWindow(const TabbedWindow&) = delete;
    TabbedWindow& operator=(const TabbedWindow&) = delete;

    // Opens the window with one tab at the folder.
    bool Create(const std::wstring& folder, const Options& options);
    // A new tab at the folder, made active when asked.
    bool AddTab(const std::wstring& folder, bool activate);
    void ActivateTab(size_t index);
    void CloseTab(size_t index);
    // Every tab closes (OnQuit, revoked from the list), then the window.
    void Close();

    bool IsOpen() const { return frame.IsHeld(); }
    HWND Window() const { return frame.Get(); }
    size_t TabCount() const { return tabs.size(); }
    // Offers the message to the tab it is meant for; true when taken.
    bool RouteMessage(MSG& message);

private:
    struct Tab {
        std::unique_ptr<BrowserWindow> browser;
        std::unique_ptr<ShellWindowRegistration> registration;
    };

    static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(WORD command);
    void TabNavigated(BrowserWindow* browser);
    void ForgetClosedTabs();
    void ShowActiveTab();
    void PlaceTabs();
    std::wstring ActiveFolder() const;

    Options options;
    support::UniqueWindow frame;
    std::vector<Tab> tabs;  // in the order they were opened
    size_t active = 0;
    bool closing = false;
};

}  // namespace standin
