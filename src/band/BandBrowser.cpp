#include "band/BandBrowser.h"

#include "band/BandFolderView.h"
#include "session/FileLocation.h"
#include "shellview/BuiltinCommand.h"
#include "support/ComResources.h"

namespace band {

using support::UniqueBstr;
using support::UniqueVariant;

void BandBrowser::Connect(IServiceProvider* siteServices)
{
    Release();
    services = siteServices;
    if (services)
        services->QueryService(SID_SWebBrowserApp, IID_PPV_ARGS(&browser));
}

void BandBrowser::Release() noexcept
{
    browser.Reset();
    services.Reset();
}

std::optional<std::wstring> BandBrowser::Folder()
{
    UniqueBstr location;
    if (!browser || FAILED(browser->get_LocationURL(location.Receive())))
        return std::nullopt;
    return session::FolderOfLocation(location.Get());
}

bool BandBrowser::Navigate(const std::wstring& folder)
{
    if (!browser)
        return false;
    UniqueVariant address;
    address.vt = VT_BSTR;
    address.bstrVal = ::SysAllocString(shellview::FolderAddress(folder).c_str());
    if (address.bstrVal == nullptr)
        return false;
    UniqueVariant flags;
    UniqueVariant targetFrame;
    UniqueVariant postData;
    UniqueVariant headers;
    return SUCCEEDED(browser->Navigate2(&address, &flags, &targetFrame, &postData, &headers));
}

void BandBrowser::Refresh()
{
    if (browser)
        browser->Refresh();
}

std::unique_ptr<session::HostFolderView> BandBrowser::ActiveView()
{
    return ActiveFolderView(services.Get(), TopLevelWindow());
}

void BandBrowser::InterpreterEnded()
{
    if (browser)
        browser->Quit();
}

HWND BandBrowser::TopLevelWindow() const
{
    SHANDLE_PTR window = 0;
    if (!browser || FAILED(browser->get_HWND(&window)))
        return nullptr;
    return reinterpret_cast<HWND>(window);
}

}  // namespace band
