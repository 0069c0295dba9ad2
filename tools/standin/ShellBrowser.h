#pragma once

#include "ComObject.h"

#include <shobjidl.h>

#include <string>

namespace standin {

// What the shell browser object asks of the window that shows it.
class ShellBrowserHost {
public:
    // The window the views live in: the browser's top window, or its tab's window when the
    // browser is one tab of a window.
    virtual HWND TabWindow() const = 0;
    // The shell view of the active tab, or null when the window shows none (a web page, or a
    // folder view of the older kind that answers only through its list control).
    virtual IShellView* ActiveShellView() const = 0;
    // A folder opened from inside a view.
    virtual void OpenFolderFromView(const std::wstring& folder) = 0;

protected:
    ~ShellBrowserHost() = default;
};

// The browser as its shell views and toolbar bands see it through IShellBrowser: the window the
// views live in, the active tab's view, and navigation from a view. Menus, toolbars and the
// status bar are not offered. Once its window is gone the object answers E_FAIL.
class ShellBrowser final : public ComObject<IShellBrowser> {
public:
    explicit ShellBrowser(ShellBrowserHost* host) : host(host) {}
    void DetachHost() { host = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IShellBrowser
    STDMETHODIMP InsertMenusSB(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenuSB(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    STDMETHODIMP RemoveMenusSB(HMENU shared) override;
    STDMETHODIMP SetStatusTextSB(LPCWSTR text) override;
    STDMETHODIMP EnableModelessSB(BOOL enable) override;
    STDMETHODIMP TranslateAcceleratorSB(MSG* message, WORD id) override;
    STDMETHODIMP BrowseObject(PCUIDLIST_RELATIVE item, UINT flags) override;
    STDMETHODIMP GetViewStateStream(DWORD mode, IStream** stream) override;
    STDMETHODIMP GetControlWindow(UINT id, HWND* window) override;
    STDMETHODIMP SendControlMsg(UINT id, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    STDMETHODIMP QueryActiveShellView(IShellView** view) override;
    STDMETHODIMP OnViewWindowActive(IShellView* view) override;
    STDMETHODIMP SetToolbarItems(LPTBBUTTONSB buttons, UINT count, UINT flags) override;

private:
    ShellBrowserHost* host;
};

}  // namespace standin
