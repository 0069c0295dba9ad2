#include "companion/ShellWindowList.h"

#include "companion/RemoteConnection.h"
#include "support/ComResources.h"

#include <exdispid.h>

namespace companion {
namespace {

// The list hands out each entry's browser object as an IDispatch; entries without one are skipped.
Microsoft::WRL::ComPtr<IWebBrowser2> BrowserOf(const VARIANT& item)
{
    Microsoft::WRL::ComPtr<IWebBrowser2> browser;
    if (item.vt == VT_DISPATCH && item.pdispVal != nullptr)
        item.pdispVal->QueryInterface(IID_PPV_ARGS(&browser));
    return browser;
}

}  // namespace

ShellWindowList::ShellWindowList(std::function<void()> changed) : changed(std::move(changed)) {}

ShellWindowList::~ShellWindowList()
{
    Disconnect();
}

bool ShellWindowList::Connect()
{
    Disconnect();
    Microsoft::WRL::ComPtr<IShellWindows> found;
    if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&found))))
        return false;
    sink = EventSink::Create(DIID_DShellWindowsEvents, [this](DISPID event, const DISPPARAMS&) {
        if ((event == DISPID_WINDOWREGISTERED || event == DISPID_WINDOWREVOKED) && changed)
            changed();
    });
    // A list without events is still read on the program's own schedule.
    events.Connect(found.Get(), DIID_DShellWindowsEvents, sink.Get());
    list = std::move(found);
    ++generation;
    return true;
}

void ShellWindowList::Disconnect() noexcept
{
    events.Disconnect();
    if (sink) {
        sink->Detach();
        sink.Reset();
    }
    list.Reset();
}

std::optional<std::vector<Microsoft::WRL::ComPtr<IWebBrowser2>>> ShellWindowList::Browsers()
{
    if (!list)
        return std::nullopt;
    Microsoft::WRL::ComPtr<IUnknown> unknown;
    Microsoft::WRL::ComPtr<IEnumVARIANT> entries;
    HRESULT result = list->_NewEnum(&unknown);
    if (SUCCEEDED(result))
        result = unknown.As(&entries);
    std::vector<Microsoft::WRL::ComPtr<IWebBrowser2>> browsers;
    while (SUCCEEDED(result)) {
        support::UniqueVariant item;
        ULONG fetched = 0;
        result = entries->Next(1, &item, &fetched);
        if (result != S_OK || fetched != 1)
            break;
        if (Microsoft::WRL::ComPtr<IWebBrowser2> browser = BrowserOf(item))
            browsers.push_back(std::move(browser));
    }
    if (FAILED(result)) {
        if (MeansProcessGone(result))
            Disconnect();
        return std::nullopt;
    }
    return browsers;
}

std::optional<long> ShellWindowList::EntryCount()
{
    LONG count = 0;
    if (!list)
        return std::nullopt;
    const HRESULT result = list->get_Count(&count);
    if (MeansProcessGone(result))
        Disconnect();
    if (FAILED(result))
        return std::nullopt;
    return count;
}

}  // namespace companion
