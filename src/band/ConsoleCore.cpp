#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

#include <new>

#include "band/ConsoleCoreFactory.h"
#include "dragdrop/DroppedFiles.h"
#include "module/BrimblestoneModule.h"
#include "module/TypeInfoHolder.h"
#include "support/ActivationContext.h"
#include "support/Diagnostics.h"

namespace band {
namespace {

// The library's manifest asks for the common controls of version 6: its windows are made under it.
const support::ModuleActivationContext& LibraryActivationContext()
{
    static const support::ModuleActivationContext context(server::libraryModule->Instance());
    return context;
}

}  // namespace

CConsoleCore::CConsoleCore(IUnknown* outer) : controllingUnknown(outer != nullptr ? outer : &inner) {}

// The console goes first, with its window and interpreter; the module lock, the first member, goes
// last of all.
CConsoleCore::~CConsoleCore() = default;

HRESULT CConsoleCore::FindInterface(REFIID iid, void** object)
{
    if (iid == IID_IConsoleCore || iid == IID_IDispatch)
        *object = static_cast<IConsoleCore*>(this);
    else if (iid == IID_IObjectWithSite)
        *object = static_cast<IObjectWithSite*>(this);
    else if (iid == IID_IPersist || iid == IID_IPersistStream)
        *object = static_cast<IPersistStream*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IDockingWindow || iid == IID_IDeskBand)
        *object = static_cast<IDeskBand*>(this);
    else if (iid == IID_IInputObject)
        *object = static_cast<IInputObject*>(this);
    else if (iid == IID_IDropTarget)
        *object = static_cast<IDropTarget*>(this);
    else
        return E_NOINTERFACE;
    return S_OK;
}

STDMETHODIMP CConsoleCore::InnerUnknownPart::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown) {
        // The band's identity is its dispatch part; aggregated, the outer object holds this one.
        if (band.controllingUnknown == this)
            *object = band.Identity();
        else
            *object = this;
    } else if (FAILED(band.FindInterface(iid, object))) {
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

// The band lives in the browser's single-threaded apartment: a plain counter serves.
STDMETHODIMP_(ULONG) CConsoleCore::InnerUnknownPart::AddRef()
{
    return ++refCount;
}

STDMETHODIMP_(ULONG) CConsoleCore::InnerUnknownPart::Release()
{
    const ULONG remaining = --refCount;
    if (remaining == 0)
        delete &band;
    return remaining;
}

STDMETHODIMP CConsoleCore::QueryInterface(REFIID iid, void** object)
try {
    return controllingUnknown->QueryInterface(iid, object);
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP_(ULONG) CConsoleCore::AddRef()
{
    return controllingUnknown->AddRef();
}

STDMETHODIMP_(ULONG) CConsoleCore::Release()
{
    return controllingUnknown->Release();
}

STDMETHODIMP CConsoleCore::SetSite(IUnknown* newSite)
try {
    if (newSite == nullptr) {
        Unsite();
        return S_OK;
    }
    Microsoft::WRL::ComPtr<IOleWindow> oleWindow;
    Microsoft::WRL::ComPtr<IServiceProvider> services;
    newSite->QueryInterface(IID_PPV_ARGS(&oleWindow));
    newSite->QueryInterface(IID_PPV_ARGS(&services));
    HWND newParent = nullptr;
    // A site that cannot give a window leaves the band unsited, holding nothing of it.
    if (!oleWindow || FAILED(oleWindow->GetWindow(&newParent))) {
        Unsite();
        return E_FAIL;
    }

    site = newSite;
    frame.Site(newParent, *newSite);

    // A band sited again lets go of the previous browser first, so its events are not
    // delivered twice and the browser is not kept alive by a forgotten reference.
    ReleaseBrowser();
    browser.Connect(services.Get());
    if (browser.Browser())
        ConnectBrowserEvents();
    OpenConsole();
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

// Everything the site gave goes: the browser's events, the drop target, the interpreter, the
// windows. Nothing that belongs to the band runs until it is sited again.
void CConsoleCore::Unsite()
{
    StopServing();
    ReleaseBrowser();
    console.Close();
    dropHelper.Reset();
    frame.Unsite();
    site.Reset();
}

// The console is made in the site's window once, and its interpreter started; the files dropped on
// it reach the band.
void CConsoleCore::OpenConsole()
{
    const bool opened = console.IsOpen();
    {
        const support::ActivationScope manifest(LibraryActivationContext());
        if (!console.Open())
            return;
    }
    console.StartInterpreter();
    if (opened)
        return;
    const HRESULT helper =
        ::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dropHelper));
    if (FAILED(helper))
        BRIMBLESTONE_TRACE_HRESULT(helper);
    const HRESULT registered = ::RegisterDragDrop(console.Window(), static_cast<IDropTarget*>(this));
    dropRegistered = SUCCEEDED(registered);
    if (!dropRegistered)
        BRIMBLESTONE_TRACE_HRESULT(registered);
}

STDMETHODIMP CConsoleCore::GetSite(REFIID iid, void** object)
try {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!site)
        return E_FAIL;
    return site->QueryInterface(iid, object);
} catch (...) {
    return support::CaughtResult();
}

void CConsoleCore::ConnectBrowserEvents()
{
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(browser.Browser()->QueryInterface(IID_PPV_ARGS(&container))) &&
        SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) {
        if (FAILED(point->Advise(Identity(), &adviseCookie)))
            adviseCookie = 0;
    }
}

void CConsoleCore::DisconnectBrowserEvents()
{
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    IWebBrowser2* const shown = browser.Browser();
    if (shown != nullptr && SUCCEEDED(shown->QueryInterface(IID_PPV_ARGS(&container))) &&
        SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
        point->Unadvise(adviseCookie);
    adviseCookie = 0;
}

void CConsoleCore::ReleaseBrowser()
{
    if (browser.Browser() != nullptr && adviseCookie != 0)
        DisconnectBrowserEvents();
    browser.Release();
}

STDMETHODIMP CConsoleCore::GetTypeInfoCount(UINT* count)
try {
    if (count == nullptr)
        return E_POINTER;
    *count = 1;
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info)
try {
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return registration::ConsoleCoreTypeInfo().GetTypeInfo(locale, info);
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids)
try {
    return registration::ConsoleCoreTypeInfo().GetIDsOfNames(names, count, locale, ids);
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::GetClassID(CLSID* classId)
try {
    if (classId == nullptr)
        return E_POINTER;
    *classId = CLSID_ConsoleCore;
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::IsDirty()
try {
    return S_FALSE;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::Load(IStream*)
try {
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::Save(IStream*, BOOL)
try {
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::GetSizeMax(ULARGE_INTEGER*)
try {
    return E_NOTIMPL;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::GetWindow(HWND* window)
try {
    if (window == nullptr)
        return E_POINTER;
    *window = console.Window();
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::ContextSensitiveHelp(BOOL)
try {
    return E_NOTIMPL;
} catch (...) {
    return support::CaughtResult();
}

// Showing the band starts its interpreter; hiding it ends the interpreter as "exit" would.
STDMETHODIMP CConsoleCore::ShowDW(BOOL show)
try {
    if (show) {
        console.Show();
        console.StartInterpreter();
    } else
        console.Hide();
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::CloseDW(DWORD)
try {
    return ShowDW(FALSE);
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::ResizeBorderDW(LPCRECT, IUnknown*, BOOL)
try {
    return E_NOTIMPL;
} catch (...) {
    return support::CaughtResult();
}

// The band is one row of text high, and grows in rows; the console's font sets the row.
STDMETHODIMP CConsoleCore::GetBandInfo(DWORD, DWORD, DESKBANDINFO* info)
try {
    if (info == nullptr)
        return S_OK;
    const LONG row = console.RowHeight();
    if (info->dwMask & DBIM_MINSIZE)
        info->ptMinSize = POINTL{300, row};
    if (info->dwMask & DBIM_MAXSIZE)
        info->ptMaxSize = POINTL{-1, -1};
    if (info->dwMask & DBIM_INTEGRAL)
        info->ptIntegral = POINTL{0, row};
    if (info->dwMask & DBIM_ACTUAL)
        info->ptActual = POINTL{300, row};
    if (info->dwMask & DBIM_TITLE)
        info->wszTitle[0] = L'\0';
    if (info->dwMask & DBIM_MODEFLAGS)
        info->dwModeFlags = DBIMF_VARIABLEHEIGHT;
    // The host's own background serves.
    info->dwMask &= ~static_cast<DWORD>(DBIM_BKCOLOR);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::UIActivateIO(BOOL activate, MSG*)
try {
    console.Activate(activate != FALSE);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::HasFocusIO()
try {
    return console.HasFocus() ? S_OK : S_FALSE;
} catch (...) {
    return support::CaughtResult();
}

// The host hands every keyboard message of the focused band here before dispatching it; the
// console dispatches what it does not consume itself, so the host never acts on a key twice.
STDMETHODIMP CConsoleCore::TranslateAcceleratorIO(MSG* message)
try {
    if (message == nullptr)
        return S_OK;
    console.TranslateKey(*message);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

}  // namespace band

namespace band {

HRESULT CreateConsoleCore(IUnknown* outer, REFIID interfaceId, void** object) noexcept
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    CConsoleCore* band = nullptr;
    try {
        band = new CConsoleCore(outer);
    } catch (...) {
        // A member's constructor may throw as well as the allocation.
        return support::CaughtResult();
    }
    // The query holds the band; when it fails, the band goes with the reference taken here.
    IUnknown* inner = band->InnerUnknown();
    inner->AddRef();
    const HRESULT result = inner->QueryInterface(interfaceId, object);
    inner->Release();
    return result;
}

}  // namespace band
