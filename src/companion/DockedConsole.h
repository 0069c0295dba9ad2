#pragma once

#include "companion/ConsoleDropTarget.h"
#include "session/ConsoleSession.h"
#include "session/HostFrame.h"
#include "support/WindowImpl.h"

#include <windows.h>

#include <functional>

namespace companion {

// A console docked to one File Explorer window from outside: an unowned tool window of this
// process kept directly above the Explorer window in z-order (never topmost, no owner or parent in
// Explorer's process), over the lowest part of its client area. Its top edge is a grip: dragging
// it sets the height, which the owner remembers. It holds one console session and is its frame.
class DockedConsole final : private support::CWindowImpl, public session::HostFrame {
public:
    struct Callbacks {
        // The user dragged the top edge to this height in pixels at 100 % scaling.
        std::function<void(int heightAt96)> heightChosen;
        // The user closed the console's window (Alt+F4).
        std::function<void()> closeAsked;
        // A window of the console's own (the settings window) closed: what waited for the console
        // to be free may be done now.
        std::function<void()> modalEnded;
    };

    DockedConsole(HWND folderWindow, session::HostBrowser& browser, HMODULE helperLibrary, int heightAt96,
                  Callbacks callbacks);
    ~DockedConsole() override;
    DockedConsole(const DockedConsole&) = delete;
    DockedConsole& operator=(const DockedConsole&) = delete;

    // Makes the window and the console and starts its interpreter, docked and shown without
    // taking the focus from Explorer; files dropped on it go onto its command line. False when a
    // window could not be made.
    bool Open();
    // Brings the console to the front with the keyboard focus in its text box.
    void Activate();
    // Moves the window to where the Explorer window wants it (or hides it while that one cannot be
    // seen); true when anything had to change.
    bool Dock();
    void SetHeight(int newHeightAt96);

    session::ConsoleSession& Session() noexcept { return console; }
    HWND Window() const noexcept { return GetHwnd(); }
    // Offers a keyboard message meant for one of the console's windows; true when taken.
    bool RouteKey(MSG& message);
    // Whether a window of the console's own is open, during which the console must not end.
    bool IsRunningModal() const noexcept { return modalWindows > 0; }

    // session::HostFrame
    HWND ParentWindow() override { return GetHwnd(); }
    void FocusChanged(bool) override {}
    bool MayTakeFocus() override { return ::GetForegroundWindow() == GetHwnd(); }
    HMODULE HelperLibrary() override { return helperLibrary; }
    void RowHeightChanged() override { Dock(); }
    void RunModal(const std::function<void()>& window) override;

private:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;
    int GripHeight() const noexcept;
    int LeastHeight() const noexcept;
    void LayOut();
    bool KeepAboveFolderWindow(const RECT& rectangle);
    void GiveFocusBack();
    void DragTo(int screenY);

    HWND folderWindow;
    HMODULE helperLibrary;
    Microsoft::WRL::ComPtr<ConsoleDropTarget> dropTarget;
    int heightAt96;
    Callbacks callbacks;
    bool dragging = false;
    int modalWindows = 0;
    session::ConsoleSession console;
};

}  // namespace companion
