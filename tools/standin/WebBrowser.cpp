#include "WebBrowser.h"

#include "UniqueBstr.h"

#include "support/ComBoundary.h"

#include <exdispid.h>
#include <olectl.h>
#include <shlguid.h>

#include <optional>

namespace standin {
namespace {

// The address passed to Navigate2: a string, or a reference to one as scripts pass it.
const VARIANT* TextArgument(const VARIANT* argument)
{
    if (argument && argument->vt == (VT_VARIANT | VT_BYREF))
        argument = argument->pvarVal;
    if (!argument || argument->vt != VT_BSTR || !argument->bstrVal)
        return nullptr;
    return argument;
}

// The stand-in's own read-only properties: what the view shows in one state.
std::optional<ItemState> OwnPropertyState(const std::wstring& name)
{
    if (name == L"StandIn.Items")
        return ItemState::Any;
    if (name == L"StandIn.SelectedItems")
        return ItemState::Selected;
    if (name == L"StandIn.FocusedItems")
        return ItemState::Focused;
    return std::nullopt;
}

std::wstring JoinedLines(const std::vector<std::wstring>& lines)
{
    std::wstring joined;
    for (size_t index = 0; index < lines.size(); ++index)
        joined += (index == 0 ? L"" : L"\n") + lines[index];
    return joined;
}

template <typename Value>
HRESULT NotImplemented(Value* out)
{
    if (out)
        *out = Value();
    return E_NOTIMPL;
}

}  // namespace

WebBrowser::WebBrowser(BrowserHost* host) : host(host)
{
    events.Attach(new EventConnectionPoint(this, DIID_DWebBrowserEvents2));
}

WebBrowser::~WebBrowser()
{
    events->DetachContainer();
}

void WebBrowser::DetachHost()
{
    host = nullptr;
}

void WebBrowser::FireNavigationEvents(const std::wstring& url, const std::wstring& title)
{
    const Microsoft::WRL::ComPtr<WebBrowser> keepAlive(this);
    FireWithAddress(DISPID_NAVIGATECOMPLETE2, url);
    UniqueBstr text = MakeBstr(title);
    VARIANTARG argument;
    ::VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = text.Get();
    events->Fire(DISPID_TITLECHANGE, &argument, 1);
    FireWithAddress(DISPID_DOCUMENTCOMPLETE, url);
}

void WebBrowser::FireWithAddress(DISPID event, const std::wstring& url)
{
    // As the browser passes them: the frame's IDispatch, then the address as a reference to a
    // VARIANT string; DISPPARAMS keeps the last argument first.
    UniqueBstr text = MakeBstr(url);
    VARIANT address;
    ::VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = text.Get();
    VARIANTARG arguments[2];
    ::VariantInit(&arguments[0]);
    arguments[0].vt = VT_VARIANT | VT_BYREF;
    arguments[0].pvarVal = &address;
    ::VariantInit(&arguments[1]);
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = static_cast<IWebBrowser2*>(this);
    events->Fire(event, arguments, 2);
}

void WebBrowser::FireOnQuit()
{
    const Microsoft::WRL::ComPtr<WebBrowser> keepAlive(this);
    events->Fire(DISPID_ONQUIT, nullptr, 0);
}

void WebBrowser::DisconnectAllSinks()
{
    events->DisconnectAll();
}

STDMETHODIMP WebBrowser::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
        iid == IID_IWebBrowser2)
        return Answer(static_cast<IWebBrowser2*>(this), object);
    if (iid == IID_IConnectionPointContainer)
        return Answer(static_cast<IConnectionPointContainer*>(this), object);
    if (iid == IID_IServiceProvider)
        return Answer(static_cast<IServiceProvider*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP WebBrowser::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP WebBrowser::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    return NotImplemented(info);
}

STDMETHODIMP WebBrowser::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowser::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP WebBrowser::GoBack() { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::GoForward() { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::GoHome() { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::GoSearch() { return E_NOTIMPL; }

STDMETHODIMP WebBrowser::Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    if (!url)
        return E_INVALIDARG;
    if (!host)
        return E_FAIL;
    return host->Navigate(std::wstring(url, ::SysStringLen(url)));
}

STDMETHODIMP WebBrowser::Refresh()
{
    if (!host)
        return E_FAIL;
    host->Refresh();
    return S_OK;
}

STDMETHODIMP WebBrowser::Refresh2(VARIANT*)
{
    return Refresh();
}

STDMETHODIMP WebBrowser::Stop()
{
    return host ? S_OK : E_FAIL;
}

STDMETHODIMP WebBrowser::get_Application(IDispatch** application)
{
    if (!application)
        return E_POINTER;
    return Answer(static_cast<IDispatch*>(static_cast<IWebBrowser2*>(this)), reinterpret_cast<void**>(application));
}

STDMETHODIMP WebBrowser::get_Parent(IDispatch** parent) { return NotImplemented(parent); }
STDMETHODIMP WebBrowser::get_Container(IDispatch** container) { return NotImplemented(container); }
STDMETHODIMP WebBrowser::get_Document(IDispatch** document) { return NotImplemented(document); }

STDMETHODIMP WebBrowser::get_TopLevelContainer(VARIANT_BOOL* topLevel)
{
    if (!topLevel)
        return E_POINTER;
    *topLevel = VARIANT_TRUE;
    return S_OK;
}

STDMETHODIMP WebBrowser::get_Type(BSTR* type) { return NotImplemented(type); }
STDMETHODIMP WebBrowser::get_Left(LONG* left) { return NotImplemented(left); }
STDMETHODIMP WebBrowser::put_Left(LONG) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_Top(LONG* top) { return NotImplemented(top); }
STDMETHODIMP WebBrowser::put_Top(LONG) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_Width(LONG* width) { return NotImplemented(width); }
STDMETHODIMP WebBrowser::put_Width(LONG) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_Height(LONG* height) { return NotImplemented(height); }
STDMETHODIMP WebBrowser::put_Height(LONG) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_LocationName(BSTR* name) { return NotImplemented(name); }

STDMETHODIMP WebBrowser::get_LocationURL(BSTR* url)
{
    if (!url)
        return E_POINTER;
    *url = nullptr;
    if (!host)
        return E_FAIL;
    *url = MakeBstr(host->LocationUrl()).Release();
    return *url ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP WebBrowser::get_Busy(VARIANT_BOOL* busy)
{
    if (!busy)
        return E_POINTER;
    *busy = VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP WebBrowser::Quit()
{
    if (!host)
        return E_FAIL;
    host->Quit();
    return S_OK;
}

STDMETHODIMP WebBrowser::ClientToWindow(int*, int*) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::PutProperty(BSTR property, VARIANT value)
try {
    if (!property)
        return E_INVALIDARG;
    support::UniqueVariant& stored = properties[std::wstring(property, ::SysStringLen(property))];
    return ::VariantCopy(&stored, &value);
} catch (...) {
    return support::CaughtResult();
}

// A property nobody stored is VT_EMPTY.
STDMETHODIMP WebBrowser::GetProperty(BSTR property, VARIANT* value)
try {
    if (!property || !value)
        return E_POINTER;
    ::VariantInit(value);
    const std::wstring name(property, ::SysStringLen(property));
    if (const std::optional<ItemState> state = OwnPropertyState(name)) {
        if (!host)
            return E_FAIL;
        value->vt = VT_BSTR;
        value->bstrVal = MakeBstr(JoinedLines(host->ShownItemNames(*state))).Release();
        return value->bstrVal ? S_OK : E_OUTOFMEMORY;
    }
    const auto found = properties.find(name);
    return found == properties.end() ? S_OK : ::VariantCopy(value, &found->second);
} catch (...) {
    return support::CaughtResult();
}
STDMETHODIMP WebBrowser::get_Name(BSTR* name) { return NotImplemented(name); }

STDMETHODIMP WebBrowser::get_HWND(SHANDLE_PTR* window)
{
    if (!window)
        return E_POINTER;
    *window = 0;
    const HWND top = host ? host->TopLevelWindow() : nullptr;
    if (!top)
        return E_FAIL;
    *window = reinterpret_cast<SHANDLE_PTR>(top);
    return S_OK;
}

STDMETHODIMP WebBrowser::get_FullName(BSTR* name) { return NotImplemented(name); }
STDMETHODIMP WebBrowser::get_Path(BSTR* path) { return NotImplemented(path); }

STDMETHODIMP WebBrowser::get_Visible(VARIANT_BOOL* visible)
{
    if (!visible)
        return E_POINTER;
    *visible = VARIANT_FALSE;
    if (!host)
        return E_FAIL;
    *visible = ::IsWindowVisible(host->TopLevelWindow()) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP WebBrowser::put_Visible(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_StatusBar(VARIANT_BOOL* shown) { return NotImplemented(shown); }
STDMETHODIMP WebBrowser::put_StatusBar(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_StatusText(BSTR* text) { return NotImplemented(text); }
STDMETHODIMP WebBrowser::put_StatusText(BSTR) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_ToolBar(int* shown) { return NotImplemented(shown); }
STDMETHODIMP WebBrowser::put_ToolBar(int) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_MenuBar(VARIANT_BOOL* shown) { return NotImplemented(shown); }
STDMETHODIMP WebBrowser::put_MenuBar(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_FullScreen(VARIANT_BOOL* fullScreen) { return NotImplemented(fullScreen); }
STDMETHODIMP WebBrowser::put_FullScreen(VARIANT_BOOL) { return E_NOTIMPL; }

STDMETHODIMP WebBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    const VARIANT* address = TextArgument(url);
    if (!address)
        return E_INVALIDARG;
    if (!host)
        return E_FAIL;
    return host->Navigate(std::wstring(address->bstrVal, ::SysStringLen(address->bstrVal)));
}

STDMETHODIMP WebBrowser::QueryStatusWB(OLECMDID, OLECMDF* status) { return NotImplemented(status); }
STDMETHODIMP WebBrowser::ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) { return E_NOTIMPL; }

STDMETHODIMP WebBrowser::get_ReadyState(READYSTATE* state)
{
    if (!state)
        return E_POINTER;
    *state = READYSTATE_COMPLETE;
    return S_OK;
}

STDMETHODIMP WebBrowser::get_Offline(VARIANT_BOOL* offline) { return NotImplemented(offline); }
STDMETHODIMP WebBrowser::put_Offline(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_Silent(VARIANT_BOOL* silent) { return NotImplemented(silent); }
STDMETHODIMP WebBrowser::put_Silent(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_RegisterAsBrowser(VARIANT_BOOL* registered) { return NotImplemented(registered); }
STDMETHODIMP WebBrowser::put_RegisterAsBrowser(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_RegisterAsDropTarget(VARIANT_BOOL* registered) { return NotImplemented(registered); }
STDMETHODIMP WebBrowser::put_RegisterAsDropTarget(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_TheaterMode(VARIANT_BOOL* theater) { return NotImplemented(theater); }
STDMETHODIMP WebBrowser::put_TheaterMode(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_AddressBar(VARIANT_BOOL* shown) { return NotImplemented(shown); }
STDMETHODIMP WebBrowser::put_AddressBar(VARIANT_BOOL) { return E_NOTIMPL; }
STDMETHODIMP WebBrowser::get_Resizable(VARIANT_BOOL* resizable) { return NotImplemented(resizable); }
STDMETHODIMP WebBrowser::put_Resizable(VARIANT_BOOL) { return E_NOTIMPL; }

STDMETHODIMP WebBrowser::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    return NotImplemented(points);
}

STDMETHODIMP WebBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (iid != DIID_DWebBrowserEvents2)
        return CONNECT_E_NOCONNECTION;
    return Answer(static_cast<IConnectionPoint*>(events.Get()), reinterpret_cast<void**>(point));
}

STDMETHODIMP WebBrowser::QueryService(REFGUID service, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (service == SID_STopLevelBrowser || service == SID_SShellBrowser) {
        IShellBrowser* shellBrowser = host ? host->ShellBrowserObject() : nullptr;
        return shellBrowser ? shellBrowser->QueryInterface(iid, object) : E_FAIL;
    }
    if (service == SID_SWebBrowserApp)
        return QueryInterface(iid, object);
    return E_NOINTERFACE;
}

}  // namespace standin
