#include "BrowserWindow.h"

#include "FileListDataObject.h"
#include "FileUrl.h"
#include "FolderPath.h"
#include "WindowClass.h"

#include <commctrl.h>

#include <vector>

namespace standin {
namespace {

constexpr const wchar_t* FrameClassName = L"StandInBrowserWindow";
constexpr const wchar_t* TabClassName = L"ShellTabWindowClass";
constexpr const wchar_t* WindowTitleSuffix = L" - Stand-in file browser";
constexpr const wchar_t* BandStripClassName = L"StandInBandStrip";
constexpr int AddressHeight = 24;

// The window's own queued work.
constexpr UINT DocumentCompleteMessage = WM_APP + 0x100;
constexpr UINT QuitMessage = WM_APP + 0x101;
constexpr UINT OpenFolderMessage = WM_APP + 0x102;

bool IsKeyboardMessage(UINT message)
{
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

// Holds modifier keys down in the thread's keyboard state for as long as it lives.
class HeldModifiers {
public:
    explicit HeldModifiers(KeyModifiers modifiers)
    {
        ::GetKeyboardState(saved);
        BYTE state[256];
        ::CopyMemory(state, saved, sizeof(state));
        Hold(state, modifiers.control, {VK_CONTROL, VK_LCONTROL});
        Hold(state, modifiers.shift, {VK_SHIFT, VK_LSHIFT});
        Hold(state, modifiers.alt, {VK_MENU, VK_LMENU});
        ::SetKeyboardState(state);
    }
    ~HeldModifiers() { ::SetKeyboardState(saved); }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    static void Hold(BYTE* state, bool down, std::initializer_list<int> keys)
    {
        for (const int key : keys)
            state[key] = down ? 0x80 : 0;
    }

    BYTE saved[256] = {};
};

}  // namespace

BrowserWindow::BrowserWindow() : view([this](const std::wstring& path) { OpenFolderLater(path); })
{
    browser.Attach(new WebBrowser(this));
    shellBrowser.Attach(new ShellBrowser(this));
}

BrowserWindow::~BrowserWindow()
{
    Shutdown();
    browser->DetachHost();
    shellBrowser->DetachHost();
}

bool BrowserWindow::Create(const std::wstring& startFolder, const BrowserOptions& chosen)
{
    if (frame)
        return false;
    const std::optional<std::wstring> shown = ExistingFolder(startFolder, L"");
    if (!shown)
        return false;
    options = chosen;
    const INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!CreateFrame() || !CreateChildren()) {
        Shutdown();
        return false;
    }
    site.Attach(new BandSite(bandStrip, browser.Get(), shellBrowser.Get(), [this] {
        band.QueryBandInfo();
        Layout();
    }));
    ShowFolder(*shown);
    ::ShowWindow(frame.Get(), SW_SHOW);
    return true;
}

bool BrowserWindow::CreateFrame()
{
    const wchar_t* className = options.tabOf ? TabClassName : FrameClassName;
    if (!EnsureWindowClass(className, FrameProcedure, ::GetSysColorBrush(COLOR_BTNFACE)) ||
        !EnsureWindowClass(BandStripClassName, ::DefWindowProcW, ::GetSysColorBrush(COLOR_BTNFACE)))
        return false;
    if (options.tabOf) {
        RECT area = {};
        ::GetClientRect(options.tabOf, &area);
        frame.Reset(::CreateWindowExW(0, className, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                      area.right, area.bottom, options.tabOf, nullptr,
                                      ::GetModuleHandleW(nullptr), this));
    } else {
        frame.Reset(::CreateWindowExW(0, className, L"Stand-in file browser", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                      CW_USEDEFAULT, CW_USEDEFAULT, 900, 640, nullptr, nullptr,
                                      ::GetModuleHandleW(nullptr), this));
    }
    return frame.IsHeld();
}

bool BrowserWindow::CreateChildren()
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    address = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                0, 0, 0, 0, frame.Get(), nullptr, instance, nullptr);
    bandStrip = ::CreateWindowExW(0, BandStripClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                                  frame.Get(), nullptr, instance, nullptr);
    if (!address || !bandStrip)
        return false;
    ::SendMessageW(address, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return UsesShellViews() || view.Create(frame.Get(), options.layout);
}

HRESULT BrowserWindow::SiteBand(IUnknown* object)
{
    if (!frame)
        return E_UNEXPECTED;
    const HRESULT result = band.Site(object, static_cast<IOleWindow*>(site.Get()));
    if (FAILED(result))
        return result;
    Layout();
    return band.Show(true);
}

const std::vector<FocusChange>& BrowserWindow::FocusChanges() const
{
    static const std::vector<FocusChange> none;
    return site ? site->FocusChanges() : none;
}

void BrowserWindow::CloseBand()
{
    band.Close();
    Layout();
}

HRESULT BrowserWindow::ActivateBand(bool activate)
{
    return band.Activate(activate);
}

HRESULT BrowserWindow::NavigateTo(const std::wstring& target)
{
    return Navigate(target);
}

HRESULT BrowserWindow::Navigate(const std::wstring& target)
{
    navigationRequests.push_back(target);
    if (!frame)
        return E_FAIL;
    const std::wstring base = showing == Showing::Folder ? folder : L"";
    std::optional<std::wstring> found;
    if (const std::optional<std::wstring> path = PathPartOfFileUrl(target)) {
        // An address is read with its escapes decoded; a folder whose own name looks like an
        // escape is still found under the address as written.
        if (const std::optional<std::wstring> decoded = PercentDecoded(*path))
            found = ExistingFolder(*decoded, base);
        if (!found)
            found = ExistingFolder(*path, base);
    } else {
        found = ExistingFolder(target, base);
    }
    if (!found)
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    ShowFolder(*found);
    QueueDocumentComplete();
    return S_OK;
}

void BrowserWindow::ShowWebPage(const std::wstring& url)
{
    if (!frame)
        return;
    showing = Showing::WebPage;
    otherLocation = url;
    DestroyViews();
    ShowLocationText();
    QueueDocumentComplete();
}

void BrowserWindow::ShowVirtualFolder(const std::wstring& url)
{
    if (!frame)
        return;
    showing = Showing::VirtualFolder;
    otherLocation = url;
    ShowContents();
    QueueDocumentComplete();
}

void BrowserWindow::SetLayout(ViewLayout layout)
{
    options.layout = layout;
    if (!frame || showing == Showing::WebPage)
        return;
    DestroyViews();
    EnsureView();
    ShowContents();
}

void BrowserWindow::Close()
{
    Shutdown();
}

std::wstring BrowserWindow::Location() const
{
    return showing == Showing::Folder ? FileUrlFromPath(folder) : otherLocation;
}

std::wstring BrowserWindow::Folder() const
{
    return showing == Showing::Folder ? folder : L"";
}

void BrowserWindow::Refresh()
{
    ++refreshCount;
    if (showing != Showing::WebPage)
        ShowContents();
}

void BrowserWindow::Quit()
{
    ++quitCount;
    // The window closes after the caller's call has returned, as the browser's own does.
    if (frame)
        ::PostMessageW(frame.Get(), QuitMessage, 0, 0);
}

HWND BrowserWindow::TopLevelWindow() const
{
    return frame ? ::GetAncestor(frame.Get(), GA_ROOT) : nullptr;
}

void BrowserWindow::ShowFolder(const std::wstring& path)
{
    showing = Showing::Folder;
    folder = path;
    ShowContents();
}

bool BrowserWindow::UsesShellViews() const
{
    return options.layout == ViewLayout::ShellView || options.layout == ViewLayout::ItemsView;
}

HWND BrowserWindow::ViewWindow() const
{
    return UsesShellViews() ? activeTab.Window() : view.Window();
}

HWND BrowserWindow::ListView() const
{
    return UsesShellViews() ? activeTab.ListView() : view.ListView();
}

std::vector<std::wstring> BrowserWindow::ViewItemNames(ItemState state) const
{
    return UsesShellViews() ? activeTab.ItemNames(state) : ListItemTexts(view.ListView(), state);
}

std::vector<std::wstring> BrowserWindow::BackgroundItemNames(ItemState state) const
{
    return backgroundTab.ItemNames(state);
}

// The tabs' views show the folder afresh; only a folder of the file system has them.
void BrowserWindow::ShowTabs()
{
    DestroyViews();
    if (showing != Showing::Folder)
        return;
    const ShellViewPane::Kind kind =
        options.layout == ViewLayout::ItemsView ? ShellViewPane::Kind::Items : ShellViewPane::Kind::Platform;
    if (options.backgroundTab)
        backgroundTab.Show(shellBrowser.Get(), folder, kind, options.extras, ViewArea(), false);
    activeTab.Show(shellBrowser.Get(), folder, kind, options.extras, ViewArea(), true);
}

void BrowserWindow::DestroyViews()
{
    activeTab.Destroy();
    backgroundTab.Destroy();
    view.Destroy();
}

void BrowserWindow::ShowContents()
{
    if (UsesShellViews()) {
        ShowTabs();
    } else if (EnsureView()) {
        if (showing == Showing::Folder)
            view.ShowFolder(folder, options.extras);
        else
            view.ShowVirtualItemsOnly();
    }
    ShowLocationText();
}

bool BrowserWindow::EnsureView()
{
    if (UsesShellViews() || view.Window())
        return true;
    if (!view.Create(frame.Get(), options.layout))
        return false;
    Layout();
    return true;
}

void BrowserWindow::ShowLocationText()
{
    const std::wstring shown = showing == Showing::Folder ? folder : otherLocation;
    ::SetWindowTextW(address, shown.c_str());
    ::SetWindowTextW(frame.Get(), (shown + WindowTitleSuffix).c_str());
    Layout();
}

void BrowserWindow::Layout()
{
    if (!frame)
        return;
    RECT client = {};
    ::GetClientRect(frame.Get(), &client);
    const int width = client.right;
    const int bandHeight = band.IsSited() ? band.Height() + options.extraBandSteps * BandStep() : 0;
    ::MoveWindow(address, 0, 0, width, AddressHeight, TRUE);
    ::MoveWindow(bandStrip, 0, AddressHeight, width, bandHeight, TRUE);
    if (band.Window())
        ::MoveWindow(band.Window(), 0, 0, width, bandHeight, TRUE);
    const RECT area = ViewArea();
    view.Place(area);
    activeTab.Place(area);
    backgroundTab.Place(area);
}

RECT BrowserWindow::ViewArea() const
{
    RECT client = {};
    ::GetClientRect(frame.Get(), &client);
    const int bandHeight = band.IsSited() ? band.Height() + options.extraBandSteps * BandStep() : 0;
    const int viewTop = AddressHeight + bandHeight;
    return {0, viewTop, client.right, client.bottom > viewTop ? client.bottom : viewTop};
}

int BrowserWindow::BandStep() const
{
    const DESKBANDINFO& info = band.BandInfo();
    const bool variable = (info.dwMask & DBIM_MODEFLAGS) && (info.dwModeFlags & DBIMF_VARIABLEHEIGHT);
    return variable && (info.dwMask & DBIM_INTEGRAL) ? info.ptIntegral.y : 0;
}

void BrowserWindow::QueueDocumentComplete()
{
    completions.push_back(Location());
    ::PostMessageW(frame.Get(), DocumentCompleteMessage, 0, 0);
}

void BrowserWindow::FireNextDocumentComplete()
{
    if (completions.empty())
        return;
    const std::wstring url = completions.front();
    completions.pop_front();
    browser->FireNavigationEvents(url, WindowText(frame.Get()));
    ++documentCompleteCount;
    if (options.navigated)
        options.navigated();
}

// A folder opened from the view is shown once the view's own notification has returned.
void BrowserWindow::OpenFolderLater(const std::wstring& path)
{
    folderToOpen = path;
    ::PostMessageW(frame.Get(), OpenFolderMessage, 0, 0);
}

void BrowserWindow::NavigateFromAddressField()
{
    if (FAILED(Navigate(WindowText(address))))
        ::MessageBeep(MB_ICONWARNING);
}

void BrowserWindow::Shutdown()
{
    if (!frame || shuttingDown)
        return;
    TearDown();
    frame.Reset();
}

void BrowserWindow::TearDown()
{
    shuttingDown = true;
    browser->FireOnQuit();
    band.Close();
    // Sinks that did not disconnect on OnQuit are let go, as the closing browser does.
    browser->DisconnectAllSinks();
    DestroyViews();
    completions.clear();
}

// The frame is gone, whoever destroyed it.
void BrowserWindow::ForgetWindows()
{
    frame.Release();
    address = nullptr;
    bandStrip = nullptr;
    shuttingDown = false;
}

bool BrowserWindow::RouteMessage(MSG& message)
{
    if (IsKeyboardMessage(message.message) && band.IsSited() && band.HasFocus() && band.TranslateKey(message))
        return true;
    if (message.message != WM_KEYDOWN)
        return false;
    if (message.hwnd == address && message.wParam == VK_RETURN) {
        NavigateFromAddressField();
        return true;
    }
    if (message.hwnd == ListView() && message.wParam == VK_BACK && showing == Showing::Folder) {
        OpenFolderLater(folder + L"\\..");
        return true;
    }
    return false;
}

bool BrowserWindow::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return standin::PumpUntil(done, timeoutMs, [this](MSG& message) { return RouteMessage(message); });
}

void BrowserWindow::PumpPending()
{
    standin::PumpPending([this](MSG& message) { return RouteMessage(message); });
}

int BrowserWindow::RunMessageLoop()
{
    MSG message = {};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        DeliverMessage(message, [this](MSG& routed) { return RouteMessage(routed); });
    return static_cast<int>(message.wParam);
}

void BrowserWindow::PressKey(HWND target, UINT virtualKey, KeyModifiers modifiers)
{
    const HeldModifiers held(modifiers);
    const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM altFlag = modifiers.alt ? (1 << 29) : 0;
    ::PostMessageW(target, modifiers.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1 | scanCode | altFlag);
    ::PostMessageW(target, modifiers.alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey,
                   1 | scanCode | altFlag | (LPARAM{1} << 30) | (LPARAM{1} << 31));
    PumpPending();
}

void BrowserWindow::TypeText(HWND target, const std::wstring& text)
{
    for (const wchar_t character : text)
        ::PostMessageW(target, WM_CHAR, character, 1);
    PumpPending();
}

DropOutcome BrowserWindow::DropOnBand(IDataObject& data)
{
    DropOutcome refused;
    Microsoft::WRL::ComPtr<IDropTarget> target;
    if (!band.Object() || FAILED(band.Object()->QueryInterface(IID_PPV_ARGS(&target)))) {
        refused.enterResult = E_NOINTERFACE;
        return refused;
    }
    RECT area = {};
    ::GetClientRect(band.Window(), &area);
    POINT middle = {area.right / 2, area.bottom / 2};
    ::ClientToScreen(band.Window(), &middle);
    const DropOutcome outcome = DragAndDrop(*target.Get(), data, {middle.x, middle.y});
    // The window's messages run once the drag is over, as in the browser's own loop.
    PumpPending();
    return outcome;
}

DropOutcome BrowserWindow::DropFilesOnBand(const std::vector<std::wstring>& paths)
{
    return DropOnBand(*FileListDataObject::WithFiles(paths).Get());
}

LRESULT BrowserWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_SETFOCUS:
        // The window passes its focus on to the folder view, as the browser does.
        if (ListView())
            ::SetFocus(ListView());
        else if (ViewWindow())
            ::SetFocus(ViewWindow());
        return 0;
    case WM_CLOSE:
        Shutdown();
        return 0;
    case WM_DESTROY:
        // Destroyed by someone else than Close: the browser goes all the same.
        if (!shuttingDown && frame.Get() == window)
            TearDown();
        if (options.endMessageLoopOnClose)
            ::PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        ForgetWindows();
        return 0;
    case DocumentCompleteMessage:
        FireNextDocumentComplete();
        return 0;
    case QuitMessage:
        Shutdown();
        return 0;
    case OpenFolderMessage:
        Navigate(folderToOpen);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK BrowserWindow::FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    BrowserWindow* owner = WindowOwner<BrowserWindow>(window, message, lParam);
    if (!owner)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return owner->OnMessage(window, message, wParam, lParam);
}

}  // namespace standin
