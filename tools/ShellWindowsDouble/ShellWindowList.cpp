#include "ShellWindowList.h"

#include "WindowClass.h"
#include "WindowEnumerator.h"
#include "support/ComBoundary.h"
#include "support/ComResources.h"

#include <exdispid.h>
#include <olectl.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>

namespace shellwindows {
namespace {

constexpr const wchar_t* EventWindowClassName = L"ShellWindowsDoubleEvents";
constexpr UINT FireEventsMessage = WM_APP + 1;

// The identifier list of a place as browsers pass it: a VT_UI1 array, possibly by reference.
std::vector<BYTE> LocationBytes(const VARIANT* location)
{
    if (location && location->vt == (VT_VARIANT | VT_BYREF))
        location = location->pvarVal;
    if (!location || location->vt != (VT_ARRAY | VT_UI1) || !location->parray ||
        ::SafeArrayGetDim(location->parray) != 1)
        return {};
    const ULONG size = location->parray->rgsabound[0].cElements;
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(location->parray, &data)))
        return {};
    std::vector<BYTE> bytes(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
    ::SafeArrayUnaccessData(location->parray);
    return bytes;
}

std::optional<LONG> NumberOf(const VARIANT& value)
{
    support::UniqueVariant number;
    // Some SDKs declare the source without const; it is only read.
    if (FAILED(::VariantChangeType(&number, const_cast<VARIANT*>(&value), 0, VT_I4)))
        return std::nullopt;
    return number.lVal;
}

DWORD WindowProcess(HWND window)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

}  // namespace

ShellWindowList::ShellWindowList()
{
    events.Attach(new standin::EventConnectionPoint(this, DIID_DShellWindowsEvents));
    if (standin::EnsureWindowClass(EventWindowClassName, EventWindowProcedure))
        eventWindow.Reset(::CreateWindowExW(0, EventWindowClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            ::GetModuleHandleW(nullptr), this));
}

ShellWindowList::~ShellWindowList()
{
    eventWindow.Reset();
    events->DetachContainer();
}

void ShellWindowList::Disconnect()
{
    const Microsoft::WRL::ComPtr<ShellWindowList> keepAlive(this);
    queued.clear();
    entries.clear();
    events->DisconnectAll();
    ::CoDisconnectObject(static_cast<IShellWindows*>(this), 0);
}

STDMETHODIMP ShellWindowList::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IShellWindows)
        return Answer(static_cast<IShellWindows*>(this), object);
    if (iid == IID_IConnectionPointContainer)
        return Answer(static_cast<IConnectionPointContainer*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ShellWindowList::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ShellWindowList::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ShellWindowList::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ShellWindowList::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ShellWindowList::get_Count(LONG* count)
try {
    if (!count)
        return E_POINTER;
    *count = static_cast<LONG>(Browsers().size());
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

// An index out of range answers S_FALSE and no browser, as the shell's list does.
STDMETHODIMP ShellWindowList::Item(VARIANT index, IDispatch** browser)
try {
    if (!browser)
        return E_POINTER;
    *browser = nullptr;
    const std::optional<LONG> position = NumberOf(index);
    if (!position)
        return E_INVALIDARG;
    const std::vector<Microsoft::WRL::ComPtr<IDispatch>> browsers = Browsers();
    if (*position < 0 || *position >= static_cast<LONG>(browsers.size()))
        return S_FALSE;
    *browser = browsers[static_cast<size_t>(*position)].Get();
    (*browser)->AddRef();
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP ShellWindowList::_NewEnum(IUnknown** enumerator)
try {
    if (!enumerator)
        return E_POINTER;
    *enumerator = nullptr;
    *enumerator = static_cast<IEnumVARIANT*>(new WindowEnumerator(Browsers()));
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

// A window that is none answers E_POINTER, as the shell's list does; a browser object is optional.
STDMETHODIMP ShellWindowList::Register(IDispatch* browser, LONG window, int windowClass, LONG* cookie)
try {
    if (!cookie)
        return E_POINTER;
    *cookie = 0;
    const HWND handle = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));
    if (!handle || !::IsWindow(handle))
        return E_POINTER;
    Entry entry;
    entry.cookie = NextCookie();
    entry.browser = browser;
    entry.window = handle;
    entry.processId = WindowProcess(handle);
    entry.windowClass = windowClass;
    entries.push_back(std::move(entry));
    *cookie = entries.back().cookie;
    QueueEvent(DISPID_WINDOWREGISTERED, *cookie);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

// A window still being opened: found by FindWindowSW with SWFO_INCLUDEPENDING only.
STDMETHODIMP ShellWindowList::RegisterPending(LONG, VARIANT* location, VARIANT*, int windowClass, LONG* cookie)
try {
    if (!cookie)
        return E_POINTER;
    Entry entry;
    entry.cookie = NextCookie();
    entry.windowClass = windowClass;
    entry.location = LocationBytes(location);
    entry.pending = true;
    entries.push_back(std::move(entry));
    *cookie = entries.back().cookie;
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP ShellWindowList::Revoke(LONG cookie)
{
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) { return entry.cookie == cookie; });
    if (found == entries.end())
        return S_FALSE;
    const bool wasPending = found->pending;
    // The browser is released outside the list: its release may call in again.
    const Microsoft::WRL::ComPtr<IDispatch> released = std::move(found->browser);
    entries.erase(found);
    if (!wasPending)
        QueueEvent(DISPID_WINDOWREVOKED, cookie);
    return S_OK;
}

STDMETHODIMP ShellWindowList::OnNavigate(LONG cookie, VARIANT* location)
try {
    Entry* entry = Find(cookie);
    if (!entry)
        return S_FALSE;
    entry->location = LocationBytes(location);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP ShellWindowList::OnActivated(LONG cookie, VARIANT_BOOL active)
{
    Entry* entry = Find(cookie);
    if (!entry)
        return S_FALSE;
    entry->active = active != VARIANT_FALSE;
    return S_OK;
}

// With SWFO_COOKIEPASSED the location is a cookie; otherwise the identifier list of the place
// shown, compared byte for byte with what the browsers passed to OnNavigate.
STDMETHODIMP ShellWindowList::FindWindowSW(VARIANT* location, VARIANT*, int windowClass, LONG* window, int options,
                                           IDispatch** browser)
try {
    if (!window)
        return E_POINTER;
    *window = 0;
    if (browser)
        *browser = nullptr;
    if (!location)
        return E_INVALIDARG;
    ForgetVanishedWindows();
    const bool includePending = (options & SWFO_INCLUDEPENDING) != 0;
    const Entry* found = nullptr;
    if (options & SWFO_COOKIEPASSED) {
        const std::optional<LONG> cookie = NumberOf(*location);
        found = cookie ? Find(*cookie) : nullptr;
        if (found && found->pending && !includePending)
            found = nullptr;
    } else {
        found = FindShowing(*location, windowClass, includePending);
    }
    if (!found)
        return S_FALSE;
    *window = static_cast<LONG>(reinterpret_cast<LONG_PTR>(found->window));
    if ((options & SWFO_NEEDDISPATCH) && browser && found->browser) {
        *browser = found->browser.Get();
        (*browser)->AddRef();
    }
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP ShellWindowList::OnCreated(LONG cookie, IUnknown*)
{
    return Find(cookie) ? S_OK : S_FALSE;
}

STDMETHODIMP ShellWindowList::ProcessAttachDetach(VARIANT_BOOL)
{
    return S_OK;
}

STDMETHODIMP ShellWindowList::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points)
        *points = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ShellWindowList::FindConnectionPoint(REFIID iid, IConnectionPoint** point)
{
    if (!point)
        return E_POINTER;
    *point = nullptr;
    if (iid != DIID_DShellWindowsEvents)
        return CONNECT_E_NOCONNECTION;
    return Answer(static_cast<IConnectionPoint*>(events.Get()), reinterpret_cast<void**>(point));
}

LRESULT CALLBACK ShellWindowList::EventWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ShellWindowList* owner = standin::WindowOwner<ShellWindowList>(window, message, lParam);
    if (message == FireEventsMessage && owner) {
        owner->FireQueuedEvents();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void ShellWindowList::QueueEvent(DISPID id, LONG cookie)
{
    queued.push_back({id, cookie});
    ::PostMessageW(eventWindow.Get(), FireEventsMessage, 0, 0);
}

// Events go out in the order of their causes; a call that comes in while a sink is being called
// queues its own event behind them.
void ShellWindowList::FireQueuedEvents()
{
    if (firing)
        return;
    const Microsoft::WRL::ComPtr<ShellWindowList> keepAlive(this);
    firing = true;
    while (!queued.empty()) {
        const QueuedEvent next = queued.front();
        queued.pop_front();
        VARIANTARG cookie;
        ::VariantInit(&cookie);
        cookie.vt = VT_I4;
        cookie.lVal = next.cookie;
        events->Fire(next.id, &cookie, 1);
    }
    firing = false;
}

void ShellWindowList::ForgetVanishedWindows()
{
    std::vector<Microsoft::WRL::ComPtr<IDispatch>> released;
    const auto vanished = [&](Entry& entry) {
        if (entry.pending || (::IsWindow(entry.window) && WindowProcess(entry.window) == entry.processId))
            return false;
        released.push_back(std::move(entry.browser));
        return true;
    };
    entries.erase(std::remove_if(entries.begin(), entries.end(), vanished), entries.end());
}

std::vector<Microsoft::WRL::ComPtr<IDispatch>> ShellWindowList::Browsers()
{
    ForgetVanishedWindows();
    std::vector<Microsoft::WRL::ComPtr<IDispatch>> browsers;
    for (const Entry& entry : entries) {
        if (!entry.pending && entry.browser)
            browsers.push_back(entry.browser);
    }
    return browsers;
}

ShellWindowList::Entry* ShellWindowList::Find(LONG cookie)
{
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) { return entry.cookie == cookie; });
    return found == entries.end() ? nullptr : &*found;
}

const ShellWindowList::Entry* ShellWindowList::FindShowing(const VARIANT& location, int windowClass,
                                                           bool includePending) const
{
    const std::vector<BYTE> wanted = LocationBytes(&location);
    if (wanted.empty())
        return nullptr;
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) {
        return entry.windowClass == windowClass && (includePending || !entry.pending) && entry.location == wanted;
    });
    return found == entries.end() ? nullptr : &*found;
}

LONG ShellWindowList::NextCookie()
{
    return ++lastCookie;
}

}  // namespace shellwindows
