#include "companion/Companion.h"

#include "support/Diagnostics.h"

#include <algorithm>

namespace companion {
namespace {

// How often consoles are checked against their windows: calmly while nothing moves, closely for
// a while after something did (a drag whose events did not arrive, or a system that sends none).
constexpr UINT CalmDockInterval = 250;
constexpr UINT CloseDockInterval = 30;
constexpr ULONGLONG CloseFollowPeriod = 1500;
// How often the list is asked whether it still answers, or looked for when it is gone.
constexpr UINT HealthInterval = 2000;

support::WindowClass CompanionWindowClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof(description);
        description.lpszClassName = L"Brimblestone Follower";
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

}  // namespace

Companion::Companion(Options options)
    : options(std::move(options)),
      list([this] {
          listChanged = true;
          RequestAttention();
      }),
      hooks([this](DWORD event, HWND window) { OnWindowEvent(event, window); })
{
}

Companion::~Companion()
{
    Stop();
    windows.clear();
}

bool Companion::Start()
{
    if (GetHwnd() == nullptr &&
        !CreateBoundWindow(CompanionWindowClass(), HWND_MESSAGE, RECT{}, nullptr, 0, 0, 0)) {
        BRIMBLESTONE_TRACE_LAST_ERROR();
        return false;
    }
    if (list.Connect())
        ReadList();
    SetDockRate(CalmDockInterval);
    ::SetTimer(GetHwnd(), HealthTimer, HealthInterval, nullptr);
    return true;
}

// A console whose settings window is open stays until the window has closed: the program's loop
// ends after it, and the companion with it.
void Companion::Stop()
{
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [](const std::unique_ptr<ExplorerWindow>& window) { return !window->IsServingConsole(); }),
                  windows.end());
    list.Disconnect();
    hooks.KeepOnly({});
    if (GetHwnd() != nullptr)
        ::DestroyWindow(GetHwnd());
}

size_t Companion::FollowedTabCount() const noexcept
{
    size_t count = 0;
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        count += static_cast<size_t>(std::count_if(window->Tabs().begin(), window->Tabs().end(),
                                                   [](const std::unique_ptr<ExplorerTab>& tab) { return !tab->IsGone(); }));
    }
    return count;
}

size_t Companion::ConsoleCount() const noexcept
{
    return static_cast<size_t>(std::count_if(windows.begin(), windows.end(), [](const std::unique_ptr<ExplorerWindow>& window) {
        return window->Console() != nullptr;
    }));
}

void Companion::RequestAttention() noexcept
{
    if (!attentionPosted && GetHwnd() != nullptr)
        attentionPosted = ::PostMessageW(GetHwnd(), AttentionMessage, 0, 0) != FALSE;
}

// The companion's turn: the list read again when it changed, tabs and windows that went dropped,
// consoles closed as asked, and every window's tabs looked at again.
void Companion::TakeUpRecords()
{
    attentionPosted = false;
    if (listChanged) {
        listChanged = false;
        ReadList();
    }
    RegroupMovedTabs();
    EndRequestedConsoles();
    for (const std::unique_ptr<ExplorerWindow>& window : windows)
        window->DropGoneTabs();
    DropGoneWindows();
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        const bool folderShown = window->TakeUpTabRecords();
        if (folderShown && reopenOnFolderShown.erase(window->TopWindow()) != 0 && !window->Console())
            OpenConsole(*window);
    }
    FollowProcesses();
}

// Every entry of the list: new browsers are followed, and those of this reading of the list that
// it no longer holds are dropped. Browsers found before the list's server last came back are not
// in it; they stay while they answer.
void Companion::ReadList()
{
    const std::optional<std::vector<Microsoft::WRL::ComPtr<IWebBrowser2>>> browsers = list.Browsers();
    if (!browsers)
        return;
    std::vector<Microsoft::WRL::ComPtr<IUnknown>> seen;
    std::vector<ExplorerWindow*> newWindows;
    for (const Microsoft::WRL::ComPtr<IWebBrowser2>& browser : *browsers)
        AdoptBrowser(browser, seen, newWindows);
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        for (const std::unique_ptr<ExplorerTab>& tab : window->Tabs()) {
            const bool listed = std::any_of(seen.begin(), seen.end(), [&](const Microsoft::WRL::ComPtr<IUnknown>& identity) {
                return identity.Get() == tab->Identity();
            });
            if (!listed && tab->ListGeneration() == list.Generation())
                tab->Drop();
        }
    }
    WelcomeNewWindows(newWindows);
    FollowProcesses();
}

void Companion::AdoptBrowser(const Microsoft::WRL::ComPtr<IWebBrowser2>& browser,
                             std::vector<Microsoft::WRL::ComPtr<IUnknown>>& seen,
                             std::vector<ExplorerWindow*>& newWindows)
{
    // The identity of an object of another process is answered here, by its proxy.
    Microsoft::WRL::ComPtr<IUnknown> identity;
    if (FAILED(browser.As(&identity)))
        return;
    seen.push_back(identity);
    if (FindTabOwner(identity.Get()) != nullptr)
        return;
    auto tab = std::make_unique<ExplorerTab>(browser, identity, list.Generation(), [this] { RequestAttention(); });
    if (!tab->Start() || tab->TopWindow() == nullptr)
        return;
    WindowFor(tab->TopWindow(), newWindows).AddTab(std::move(tab));
}

// A tab dragged into another window now belongs to that one.
void Companion::RegroupMovedTabs()
{
    std::vector<ExplorerWindow*> newWindows;
    for (size_t at = 0; at < windows.size(); ++at) {
        ExplorerWindow& window = *windows[at];
        std::vector<ExplorerTab*> moved;
        for (const std::unique_ptr<ExplorerTab>& tab : window.Tabs()) {
            if (!tab->IsGone() && tab->TopWindow() != window.TopWindow())
                moved.push_back(tab.get());
        }
        for (ExplorerTab* tab : moved) {
            std::unique_ptr<ExplorerTab> taken = window.TakeTab(tab);
            const HWND top = taken->TopWindow();
            WindowFor(top, newWindows).AddTab(std::move(taken));
        }
    }
    WelcomeNewWindows(newWindows);
}

// A window followed for the first time: its active tab is found, and it gets a console if new
// windows get one.
void Companion::WelcomeNewWindows(const std::vector<ExplorerWindow*>& newWindows)
{
    for (ExplorerWindow* window : newWindows) {
        window->TakeUpTabRecords();
        if (options.showForNewWindows)
            OpenConsole(*window);
    }
}

// A console that is serving (a call of its own, its settings window) closes once it is free.
void Companion::EndRequestedConsoles()
{
    for (const HWND top : TakeFreeRequests(endedConsoles)) {
        if (ExplorerWindow* window = FindWindow(top)) {
            window->CloseConsole();
            reopenOnFolderShown.insert(top);
        }
    }
    for (const HWND top : TakeFreeRequests(closedConsoles))
        HideConsole(top);
}

// The requests whose console is free to close; those of a console still serving stay asked.
std::vector<HWND> Companion::TakeFreeRequests(std::set<HWND>& requests) const
{
    std::vector<HWND> free;
    for (const HWND top : std::exchange(requests, {})) {
        const ExplorerWindow* window = FindWindow(top);
        if (window != nullptr && window->IsServingConsole())
            requests.insert(top);
        else
            free.push_back(top);
    }
    return free;
}

// A window whose tabs are all gone is gone; its console closes, and its interpreter ends.
void Companion::DropGoneWindows()
{
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [&](const std::unique_ptr<ExplorerWindow>& window) {
                                     if (window->HasTabs() || window->IsServingConsole())
                                         return false;
                                     reopenOnFolderShown.erase(window->TopWindow());
                                     return true;
                                 }),
                  windows.end());
}

void Companion::FollowProcesses()
{
    std::vector<DWORD> processes;
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        const DWORD processId = window->ProcessId();
        hooks.Follow(processId);
        processes.push_back(processId);
    }
    hooks.KeepOnly(processes);
}

ExplorerWindow* Companion::FindWindow(HWND topWindow) const noexcept
{
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        if (window->TopWindow() == topWindow)
            return window.get();
    }
    return nullptr;
}

ExplorerWindow* Companion::FindTabOwner(IUnknown* identity) const noexcept
{
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        if (window->FindTab(identity) != nullptr)
            return window.get();
    }
    return nullptr;
}

ExplorerWindow& Companion::WindowFor(HWND topWindow, std::vector<ExplorerWindow*>& newWindows)
{
    if (ExplorerWindow* found = FindWindow(topWindow))
        return *found;
    windows.push_back(std::make_unique<ExplorerWindow>(topWindow, [this, topWindow] {
        endedConsoles.insert(topWindow);
        RequestAttention();
    }));
    newWindows.push_back(windows.back().get());
    return *windows.back();
}

bool Companion::OpenConsole(ExplorerWindow& window)
{
    return window.OpenConsole(options.helperLibrary, options.dockedHeight, ConsoleCallbacks(window.TopWindow()));
}

DockedConsole::Callbacks Companion::ConsoleCallbacks(HWND topWindow)
{
    DockedConsole::Callbacks callbacks;
    callbacks.heightChosen = [this](int heightAt96) {
        SetDockedHeight(heightAt96);
        if (options.dockedHeightChosen)
            options.dockedHeightChosen(heightAt96);
    };
    callbacks.closeAsked = [this, topWindow] {
        closedConsoles.insert(topWindow);
        RequestAttention();
    };
    callbacks.modalEnded = [this] { RequestAttention(); };
    return callbacks;
}

HWND Companion::CurrentExplorerWindow() const
{
    const HWND foreground = ::GetForegroundWindow();
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        if (window->TopWindow() == foreground || (window->Console() && window->Console()->Window() == foreground))
            return window->TopWindow();
    }
    for (HWND window = ::GetTopWindow(nullptr); window != nullptr; window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (FindWindow(window) != nullptr && ::IsWindowVisible(window) && !::IsIconic(window))
            return window;
    }
    return nullptr;
}

bool Companion::HasConsole(HWND explorerWindow) const
{
    const ExplorerWindow* window = FindWindow(explorerWindow);
    return window != nullptr && window->Console() != nullptr;
}

bool Companion::ShowConsole(HWND explorerWindow)
{
    ExplorerWindow* window = FindWindow(explorerWindow);
    if (window == nullptr)
        return false;
    reopenOnFolderShown.erase(explorerWindow);
    if (!window->Console()) {
        window->TakeUpTabRecords();
        if (!OpenConsole(*window))
            return false;
    }
    window->Console()->Activate();
    return true;
}

void Companion::HideConsole(HWND explorerWindow)
{
    ExplorerWindow* window = FindWindow(explorerWindow);
    reopenOnFolderShown.erase(explorerWindow);
    if (window == nullptr || !window->Console() || window->IsServingConsole())
        return;
    const bool hadFocus = ::GetForegroundWindow() == window->Console()->Window();
    window->CloseConsole();
    if (hadFocus)
        ::SetForegroundWindow(explorerWindow);
}

void Companion::SetDockedHeight(int heightAt96)
{
    options.dockedHeight = heightAt96;
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        if (window->Console())
            window->Console()->SetHeight(heightAt96);
    }
}

bool Companion::RouteKey(MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return false;
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        if (window->Console() && window->Console()->RouteKey(message))
            return true;
    }
    return false;
}

// Docking needs no call to Explorer and is done at once; what may mean another active tab, or a
// window gone, is left for the companion's turn.
void Companion::OnWindowEvent(DWORD event, HWND eventWindow)
{
    ExplorerWindow* window = FindWindow(eventWindow);
    if (window == nullptr) {
        // A tab shown, hidden or brought up inside a followed window: perhaps another tab is active.
        if (FindWindow(::GetAncestor(eventWindow, GA_ROOT)) != nullptr &&
            (event == EVENT_OBJECT_SHOW || event == EVENT_OBJECT_HIDE || event == EVENT_OBJECT_REORDER))
            RequestAttention();
        return;
    }
    switch (event) {
    case EVENT_SYSTEM_FOREGROUND:
        RequestAttention();
        break;
    case EVENT_OBJECT_DESTROY:
    case EVENT_OBJECT_NAMECHANGE:
        RequestAttention();
        return;
    default:
        break;
    }
    if (window->Console() && window->Console()->Dock())
        SetDockRate(CloseDockInterval);
}

void Companion::OnDockTimer()
{
    bool moved = false;
    for (const std::unique_ptr<ExplorerWindow>& window : windows) {
        // Today's Explorer says nothing when another tab becomes active; its tab windows tell.
        if (!::IsWindow(window->TopWindow()) || window->ActiveTabChanged())
            RequestAttention();
        else if (window->Console() && window->Console()->Dock())
            moved = true;
    }
    if (moved)
        SetDockRate(CloseDockInterval);
    else if (dockRate == CloseDockInterval && ::GetTickCount64() >= closeFollowUntil)
        SetDockRate(CalmDockInterval);
}

void Companion::SetDockRate(UINT interval)
{
    if (interval == CloseDockInterval)
        closeFollowUntil = ::GetTickCount64() + CloseFollowPeriod;
    if (dockRate == interval || GetHwnd() == nullptr)
        return;
    dockRate = interval;
    ::SetTimer(GetHwnd(), DockTimer, interval, nullptr);
}

// A list gone (Explorer ended) is looked for until it is back; its windows are then read anew. A
// list that holds another number of entries than there are tabs followed is read again: one of its
// events went missing, or a browser could not be followed when it came.
void Companion::OnHealthTimer()
{
    if (list.IsConnected()) {
        const std::optional<long> entries = list.EntryCount();
        if (entries && *entries != static_cast<long>(FollowedTabCount())) {
            listChanged = true;
            RequestAttention();
        }
        if (list.IsConnected())
            return;
    }
    if (list.Connect()) {
        listChanged = true;
        RequestAttention();
    }
}

BOOL Companion::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    result = 0;
    switch (message) {
    case AttentionMessage:
        TakeUpRecords();
        return TRUE;
    case WM_TIMER:
        if (wParam == DockTimer)
            OnDockTimer();
        else if (wParam == HealthTimer)
            OnHealthTimer();
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace companion
