#pragma once

#include "companion/EventSink.h"
#include "companion/RemoteConnection.h"
#include "session/HostFolderView.h"

#include <windows.h>
#include <exdisp.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace companion {

// One browser of the shell's window list, in Explorer's process: a folder window, or one tab of
// it (every tab is a browser of its own, with the same top window). Its events only record what
// happened and ask for attention; the owner takes the records up outside any call. Every call to
// it is checked: a result that says Explorer's process is gone marks the tab gone.
class ExplorerTab {
public:
    // `attention` is told (during any call) that a record changed; it must not call out.
    ExplorerTab(Microsoft::WRL::ComPtr<IWebBrowser2> browser, Microsoft::WRL::ComPtr<IUnknown> identity,
                unsigned listGeneration, std::function<void()> attention);
    ~ExplorerTab();
    ExplorerTab(const ExplorerTab&) = delete;
    ExplorerTab& operator=(const ExplorerTab&) = delete;

    // Reads the tab's windows and place and listens to its events; false when it did not answer.
    bool Start();

    // The identity of the remote object, which tells the same browser in two reads of the list.
    IUnknown* Identity() const noexcept { return identity.Get(); }
    // The read of the list in which the tab was found.
    unsigned ListGeneration() const noexcept { return listGeneration; }
    // The tab's own window (null in a browser without tabs) and the folder window that holds it.
    HWND TabWindow() const noexcept { return tabWindow; }
    HWND TopWindow() const noexcept;

    // Closed, its process gone, or its window destroyed.
    bool IsGone() const noexcept;
    // Marks the tab gone, as when the list no longer holds it.
    void Drop() noexcept;

    // The file-system folder shown, as last read; nothing for another place.
    const std::optional<std::wstring>& Folder() const noexcept { return folder; }
    // Takes the record that a new place was shown, reading the place again when it may have changed.
    bool TakeFolderShown();

    // The session's requests.
    bool Navigate(const std::wstring& target);
    void Refresh();
    std::unique_ptr<session::HostFolderView> ActiveView();

private:
    void OnEvent(DISPID event);
    void ReadLocation();

    Microsoft::WRL::ComPtr<IWebBrowser2> browser;
    Microsoft::WRL::ComPtr<IUnknown> identity;
    Microsoft::WRL::ComPtr<IShellBrowser> shellBrowser;
    Microsoft::WRL::ComPtr<EventSink> sink;
    EventConnection events;
    std::shared_ptr<RemoteConnection> connection;
    std::function<void()> attention;
    unsigned listGeneration;
    HWND topWindow = nullptr;
    HWND tabWindow = nullptr;
    std::optional<std::wstring> folder;
    bool quit = false;
    bool dropped = false;
    bool locationStale = false;
    bool folderShown = false;
};

}  // namespace companion
