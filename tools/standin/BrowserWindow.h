#pragma once

#include "BandSite.h"
#include "DropSequence.h"
#include "FolderView.h"
#include "HostedBand.h"
#include "ListItems.h"
#include "MessagePump.h"
#include "ShellBrowser.h"
#include "ShellViewPane.h"
#include "WebBrowser.h"
#include "support/UniqueHandle.h"

#include <windows.h>
#include <wrl/client.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace standin {

struct BrowserOptions {
    ViewLayout layout = ViewLayout::Classic;
    ViewExtras extras;
    // For a program: closing the window ends the thread's message loop.
    bool endMessageLoopOnClose = false;
    // A second tab in the same window, behind the band's own: it shows the same folder in the
    // same layout and is never the active shell view.
    bool backgroundTab = false;
    // Steps of the band's vertical step size that the strip is taller than the band asked for,
    // as after the user dragged a variable-height band taller.
    int extraBandSteps = 0;
    // Shown as one tab of that top window, as in today's browser: the browser's window is then
    // a "ShellTabWindowClass" child filling the top window's client area. IShellBrowser's
    // GetWindow answers the tab's window, IWebBrowser2's HWND the top window.
    HWND tabOf = nullptr;
    // Called after each navigation's events have gone out.
    std::function<void()> navigated;
};

struct KeyModifiers {
    bool control = false;
    bool shift = false;
    bool alt = false;
};

// A file-browser window that hosts one toolbar band the way the shell's browser does: an
// address field, the band strip below it, and the folder view filling the rest. Everything runs
// on the creating thread, which must be in a single-threaded apartment with OLE initialised.
//
// Keyboard messages go to the band's TranslateAcceleratorIO while its HasFocusIO answers S_OK;
// a message that the band takes (S_OK) is neither translated nor dispatched by the window.
// Navigation completes asynchronously: DocumentComplete reaches the band's event sink when the
// window's messages run next (PumpUntil, PumpPending or the program's loop).
class BrowserWindow final : private BrowserHost, private ShellBrowserHost {
public:
    BrowserWindow();
    ~BrowserWindow();
    BrowserWindow(const BrowserWindow&) = delete;
    BrowserWindow& operator=(const BrowserWindow&) = delete;

    // Opens the window showing the folder; no DocumentComplete is fired for this first folder.
    bool Create(const std::wstring& folder, const BrowserOptions& options = {});

    // SetSite with the window's site, GetBandInfo, the band's GetWindow, the band window placed
    // in the strip with the height the band asked for, ShowDW(TRUE). One band at a time.
    HRESULT SiteBand(IUnknown* band);
    // ShowDW(FALSE), CloseDW(0), SetSite(null), and the band is released.
    void CloseBand();
    // UIActivateIO on the band, as the browser does when it moves the focus into or out of it.
    HRESULT ActivateBand(bool activate);

    // As IWebBrowser2::Navigate2: a "file:" address (escapes decoded) or a folder path,
    // relative paths taken from the current folder.
    HRESULT NavigateTo(const std::wstring& target);
    // Locations outside the file system: a web page has no folder view at all; a virtual folder
    // shows only items without a file-system path. Both complete like a navigation.
    void ShowWebPage(const std::wstring& url);
    void ShowVirtualFolder(const std::wstring& url);
    // Re-creates the folder view in the other layout, as the browser does on a view change.
    void SetLayout(ViewLayout layout);
    // As the user closing the window: OnQuit, the band closed, the window destroyed.
    void Close();

    bool IsOpen() const { return frame.IsHeld(); }
    std::wstring Location() const;
    // The folder shown, or empty for a location outside the file system.
    std::wstring Folder() const;

    HWND Window() const { return frame.Get(); }
    HWND AddressField() const { return address; }
    HWND BandParent() const { return bandStrip; }
    HWND BandWindow() const { return band.Window(); }
    // The active tab's view window, and its list control where it has one.
    HWND ViewWindow() const;
    HWND ListView() const;
    // What the active tab's view and the background tab's view show, in view order.
    std::vector<std::wstring> ViewItemNames(ItemState state = ItemState::Any) const;
    std::vector<std::wstring> BackgroundItemNames(ItemState state = ItemState::Any) const;
    // The stand-in's own items view of the active tab, or null in the other layouts.
    const ItemsView* ActiveItemsView() const { return activeTab.OwnItemsView(); }
    IShellBrowser* ShellBrowserObject() const override { return shellBrowser.Get(); }
    IWebBrowser2* Browser() const { return browser.Get(); }
    IUnknown* Band() const { return band.Object(); }
    const DESKBANDINFO& BandInfo() const { return band.BandInfo(); }

    // What the band did to its host.
    const std::vector<FocusChange>& FocusChanges() const;
    const std::vector<std::wstring>& NavigationRequests() const { return navigationRequests; }
    int RefreshCount() const { return refreshCount; }
    int QuitCount() const { return quitCount; }
    int DocumentCompleteCount() const { return documentCompleteCount; }
    size_t EventSinkCount() const { return browser->SinkCount(); }

    // Runs messages, routed as the window's own loop routes them.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = DefaultPumpTimeoutMs);
    void PumpPending();
    // The window's message routing; true when the message was taken.
    bool RouteMessage(MSG& message);
    // The program's message loop; returns the WM_QUIT exit code.
    int RunMessageLoop();

    // Queues a key press (down and up) or typed characters for the window and runs them
    // through the routing. The modifiers are held in the thread's keyboard state meanwhile.
    void PressKey(HWND target, UINT virtualKey, KeyModifiers modifiers = {});
    void TypeText(HWND target, const std::wstring& text);

    // Drags the data onto the middle of the band window through the band's IDropTarget.
    DropOutcome DropOnBand(IDataObject& data);
    DropOutcome DropFilesOnBand(const std::vector<std::wstring>& paths);

private:
    enum class Showing { Folder, VirtualFolder, WebPage };

    static LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // BrowserHost, ShellBrowserHost
    HWND TopLevelWindow() const override;
    HWND TabWindow() const override { return frame.Get(); }
    IShellView* ActiveShellView() const override { return activeTab.View(); }
    void OpenFolderFromView(const std::wstring& path) override { OpenFolderLater(path); }
    std::wstring LocationUrl() const override { return Location(); }
    HRESULT Navigate(const std::wstring& target) override;
    void Refresh() override;
    void Quit() override;
    std::vector<std::wstring> ShownItemNames(ItemState state) const override { return ViewItemNames(state); }

    bool CreateChildren();
    void ShowFolder(const std::wstring& path);
    void ShowContents();
    bool EnsureView();
    bool UsesShellViews() const;
    void ShowTabs();
    void DestroyViews();
    RECT ViewArea() const;
    void ShowLocationText();
    void Layout();
    int BandStep() const;
    bool CreateFrame();
    void QueueDocumentComplete();
    void FireNextDocumentComplete();
    void OpenFolderLater(const std::wstring& path);
    void NavigateFromAddressField();
    void Shutdown();
    void TearDown();
    void ForgetWindows();

    BrowserOptions options;
    support::UniqueWindow frame;
    HWND address = nullptr;
    HWND bandStrip = nullptr;
    FolderView view;
    ShellViewPane backgroundTab;
    ShellViewPane activeTab;
    Microsoft::WRL::ComPtr<WebBrowser> browser;
    Microsoft::WRL::ComPtr<ShellBrowser> shellBrowser;
    Microsoft::WRL::ComPtr<BandSite> site;
    HostedBand band;

    Showing showing = Showing::Folder;
    std::wstring folder;
    std::wstring otherLocation;
    std::wstring folderToOpen;
    std::deque<std::wstring> completions;

    std::vector<std::wstring> navigationRequests;
    int refreshCount = 0;
    int quitCount = 0;
    int documentCompleteCount = 0;
    bool shuttingDown = false;
};

}  // namespace standin
