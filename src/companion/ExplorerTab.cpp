#include "companion/ExplorerTab.h"

#include "companion/RemoteFolderView.h"
#include "session/FileLocation.h"
#include "shellview/BuiltinCommand.h"
#include "support/ComResources.h"

#include <exdispid.h>
#include <shlguid.h>

namespace companion {

ExplorerTab::ExplorerTab(Microsoft::WRL::ComPtr<IWebBrowser2> browser, Microsoft::WRL::ComPtr<IUnknown> identity,
                         unsigned listGeneration, std::function<void()> attention)
    : browser(std::move(browser)),
      identity(std::move(identity)),
      connection(std::make_shared<RemoteConnection>(attention)),
      attention(std::move(attention)),
      listGeneration(listGeneration)
{
}

ExplorerTab::~ExplorerTab()
{
    connection->Forget();
    if (sink)
        sink->Detach();
    events.Disconnect();
}

bool ExplorerTab::Start()
{
    SHANDLE_PTR top = 0;
    if (FAILED(connection->Check(browser->get_HWND(&top))))
        return false;
    topWindow = reinterpret_cast<HWND>(top);
    Microsoft::WRL::ComPtr<IServiceProvider> services;
    if (SUCCEEDED(connection->Check(browser.As(&services))) &&
        SUCCEEDED(connection->Check(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&shellBrowser)))))
        connection->Check(shellBrowser->GetWindow(&tabWindow));
    if (connection->IsLost())
        return false;
    sink = EventSink::Create(DIID_DWebBrowserEvents2, [this](DISPID event, const DISPPARAMS&) { OnEvent(event); });
    if (FAILED(connection->Check(events.Connect(browser.Get(), DIID_DWebBrowserEvents2, sink.Get()))))
        return false;
    ReadLocation();
    return !connection->IsLost();
}

HWND ExplorerTab::TopWindow() const noexcept
{
    // A tab may be moved to another window; its own window tells where it is now.
    if (tabWindow != nullptr && ::IsWindow(tabWindow))
        return ::GetAncestor(tabWindow, GA_ROOT);
    return topWindow;
}

bool ExplorerTab::IsGone() const noexcept
{
    return quit || dropped || connection->IsLost() || !::IsWindow(TopWindow());
}

void ExplorerTab::Drop() noexcept
{
    dropped = true;
}

bool ExplorerTab::TakeFolderShown()
{
    if (locationStale) {
        locationStale = false;
        ReadLocation();
    }
    return std::exchange(folderShown, false);
}

void ExplorerTab::OnEvent(DISPID event)
{
    switch (event) {
    case DISPID_NAVIGATECOMPLETE2:
        locationStale = true;
        break;
    case DISPID_DOCUMENTCOMPLETE:
        locationStale = true;
        folderShown = true;
        break;
    case DISPID_TITLECHANGE:
        // Another title may mean another tab is active: the companion looks on its next turn.
        break;
    case DISPID_ONQUIT:
        quit = true;
        break;
    default:
        return;
    }
    if (attention)
        attention();
}

void ExplorerTab::ReadLocation()
{
    support::UniqueBstr location;
    if (FAILED(connection->Check(browser->get_LocationURL(location.Receive()))))
        return;
    folder = location.Get() ? session::FolderOfLocation(location.Get()) : std::nullopt;
}

bool ExplorerTab::Navigate(const std::wstring& target)
{
    support::UniqueVariant address;
    address.vt = VT_BSTR;
    address.bstrVal = ::SysAllocString(shellview::FolderAddress(target).c_str());
    if (address.bstrVal == nullptr)
        return false;
    // Optional arguments cross to another process as empty variants, never as null pointers.
    support::UniqueVariant flags;
    support::UniqueVariant targetFrame;
    support::UniqueVariant postData;
    support::UniqueVariant headers;
    return SUCCEEDED(connection->Check(browser->Navigate2(&address, &flags, &targetFrame, &postData, &headers)));
}

void ExplorerTab::Refresh()
{
    connection->Check(browser->Refresh());
}

std::unique_ptr<session::HostFolderView> ExplorerTab::ActiveView()
{
    if (!shellBrowser || connection->IsLost())
        return nullptr;
    Microsoft::WRL::ComPtr<IShellView> view;
    if (FAILED(connection->Check(shellBrowser->QueryActiveShellView(&view))) || !view)
        return nullptr;
    return RemoteFolderView::Of(view, connection, TopWindow());
}

}  // namespace companion
