#pragma once

#include "companion/DockedConsole.h"
#include "companion/ExplorerWindow.h"
#include "companion/ShellWindowList.h"
#include "companion/WindowEventHooks.h"
#include "support/WindowImpl.h"

#include <windows.h>
#include <exdisp.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace companion {

// Follows every File Explorer window from outside, through the shell's window list, and docks a
// console to each that should have one. Everything it hears (the list's and the browsers' events,
// the windows' events) is only recorded during the call that brings it; the records are taken up
// on its own window's turn, outside any call. Calls to Explorer that fail because its process is
// gone drop what they reached; when Explorer ends, the companion waits for the list to come back
// and follows the new windows. Everything runs on the thread that made it, a single-threaded
// apartment whose messages the program's loop reads.
class Companion final : private support::CWindowImpl {
public:
    struct Options {
        // The library whose console helpers the consoles run (Ctrl+C, code pages); may be null.
        HMODULE helperLibrary = nullptr;
        // The consoles' height in pixels at 100 % scaling.
        int dockedHeight = 0;
        // New Explorer windows get a console at once.
        bool showForNewWindows = true;
        // The user dragged a console's top edge to this height (pixels at 100 %).
        std::function<void(int heightAt96)> dockedHeightChosen;
    };

    explicit Companion(Options options);
    ~Companion() override;
    Companion(const Companion&) = delete;
    Companion& operator=(const Companion&) = delete;

    // Makes the companion's window and starts following the list (now, or once it can be reached).
    bool Start();
    // Closes every console (one running its settings window once that has closed) and lets go of Explorer.
    void Stop();

    // The Explorer window the user works in: the foreground one (or the one whose console is in
    // the foreground), else the highest one in z-order that can be seen; null when there is none.
    HWND CurrentExplorerWindow() const;
    bool HasConsole(HWND explorerWindow) const;
    // Opens the window's console, if needed, and brings it to the front with the keyboard focus.
    bool ShowConsole(HWND explorerWindow);
    // Closes the window's console (its interpreter ends) and gives the focus back to the window.
    void HideConsole(HWND explorerWindow);
    void SetShowForNewWindows(bool show) noexcept { options.showForNewWindows = show; }
    void SetDockedHeight(int heightAt96);

    // Offers a keyboard message read by the program's loop to the console it is meant for; true
    // when a console took it (and dispatched it, or not, as it chose).
    bool RouteKey(MSG& message);

    // What it follows: Explorer windows, their tabs and open consoles.
    size_t WindowCount() const noexcept { return windows.size(); }
    size_t FollowedTabCount() const noexcept;
    size_t ConsoleCount() const noexcept;

private:
    static constexpr UINT AttentionMessage = WM_APP + 0x40;
    static constexpr UINT_PTR DockTimer = 1;    // keeps consoles docked where an event was missed
    static constexpr UINT_PTR HealthTimer = 2;  // looks whether the list still answers, or is back

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // Asks for the records to be taken up on the companion's next turn; safe during any call.
    void RequestAttention() noexcept;
    void TakeUpRecords();
    void ReadList();
    void AdoptBrowser(const Microsoft::WRL::ComPtr<IWebBrowser2>& browser,
                      std::vector<Microsoft::WRL::ComPtr<IUnknown>>& seen, std::vector<ExplorerWindow*>& newWindows);
    void RegroupMovedTabs();
    void WelcomeNewWindows(const std::vector<ExplorerWindow*>& newWindows);
    void EndRequestedConsoles();
    std::vector<HWND> TakeFreeRequests(std::set<HWND>& requests) const;
    void DropGoneWindows();
    void FollowProcesses();

    ExplorerWindow* FindWindow(HWND topWindow) const noexcept;
    ExplorerWindow* FindTabOwner(IUnknown* identity) const noexcept;
    ExplorerWindow& WindowFor(HWND topWindow, std::vector<ExplorerWindow*>& newWindows);
    bool OpenConsole(ExplorerWindow& window);
    DockedConsole::Callbacks ConsoleCallbacks(HWND topWindow);

    void OnWindowEvent(DWORD event, HWND window);
    void OnDockTimer();
    void OnHealthTimer();
    void SetDockRate(UINT interval);

    Options options;
    ShellWindowList list;
    WindowEventHooks hooks;
    std::vector<std::unique_ptr<ExplorerWindow>> windows;
    // Consoles to close on the next turn: their interpreter ended ("exit") or the user closed them.
    std::set<HWND> endedConsoles;
    std::set<HWND> closedConsoles;
    // Windows whose console ended with "exit": a new one opens when the window shows a folder.
    std::set<HWND> reopenOnFolderShown;
    bool listChanged = false;
    bool attentionPosted = false;
    UINT dockRate = 0;
    ULONGLONG closeFollowUntil = 0;
};

}  // namespace companion
