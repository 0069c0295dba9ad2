#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

#include <shlwapi.h>

#include <new>

#include "band/ConsoleCoreFactory.h"

#include "band/FolderPath.h"
#include "module/TypeInfoHolder.h"
#include "module/BrimblestoneModule.h"

namespace band {

CConsoleCore::CConsoleCore(IUnknown* outer) : controllingUnknown(outer != nullptr ? outer : &inner) {}

// The window goes first; the members follow, the interpreter among them, and the module lock,
// the first member, goes last of all.
CConsoleCore::~CConsoleCore()
{
    if (::IsWindow(GetHwnd()))
        ::DestroyWindow(GetHwnd());
}

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
    inputSite.Reset();
    newSite->QueryInterface(IID_PPV_ARGS(&inputSite));

    // A band sited again lets go of the previous browser first, so its events are not
    // delivered twice and the browser is not kept alive by a forgotten reference.
    ReleaseBrowser();
    siteServices = services;
    if (services)
        services->QueryService(SID_SWebBrowserApp, IID_PPV_ARGS(&browser));
    if (browser)
        ConnectBrowserEvents();

    parentWindow = newParent;
    CreateBandWindow();
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
    // Output and echoes of the interpreter just stopped must not reach the next one's console.
    // Letting go allocates nothing.
    pendingOutput = OutputBatcher();
    echoes.Forget();
    codePageFollowing = CodePageFollowing();
    if (::IsWindow(GetHwnd()))
        ::DestroyWindow(GetHwnd());
    dropHelper.Reset();
    inputSite.Reset();
    site.Reset();
    parentWindow = nullptr;
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
    if (SUCCEEDED(browser.As(&container)) &&
        SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) {
        if (FAILED(point->Advise(Identity(), &adviseCookie)))
            adviseCookie = 0;
    }
}

void CConsoleCore::DisconnectBrowserEvents()
{
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    if (browser && SUCCEEDED(browser.As(&container)) &&
        SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
        point->Unadvise(adviseCookie);
    adviseCookie = 0;
}

void CConsoleCore::ReleaseBrowser()
{
    if (browser && adviseCookie != 0)
        DisconnectBrowserEvents();
    browser.Reset();
    siteServices.Reset();
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
    *window = GetHwnd();
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

STDMETHODIMP CConsoleCore::ShowDW(BOOL show)
try {
    if (show) {
        ::ShowWindow(GetHwnd(), SW_SHOW);
        if (edit.GetHwnd() != nullptr)
            ::SetFocus(edit.GetHwnd());
        if (!console.IsRunning())
            StartInterpreterInCurrentFolder();
        return S_OK;
    }
    ShowPendingOutput();
    edit.ClearInput();
    edit.AppendText(L"exit\r\n", TRUE);
    if (console.IsRunning())
        console.Stop();
    ShowPendingOutput();
    ::ShowWindow(GetHwnd(), SW_HIDE);
    edit.ClearAll();
    // The next interpreter echoes nothing that this one was sent.
    echoes = EchoFilter();
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

STDMETHODIMP CConsoleCore::GetBandInfo(DWORD, DWORD, DESKBANDINFO* info)
try {
    if (info == nullptr)
        return S_OK;
    if (info->dwMask & DBIM_MINSIZE)
        info->ptMinSize = POINTL{300, 22};
    if (info->dwMask & DBIM_MAXSIZE)
        info->ptMaxSize = POINTL{-1, -1};
    if (info->dwMask & DBIM_INTEGRAL)
        info->ptIntegral = POINTL{0, 22};
    if (info->dwMask & DBIM_ACTUAL)
        info->ptActual = POINTL{300, 22};
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
    if (activate && edit.GetHwnd() != nullptr)
        ::SetFocus(edit.GetHwnd());
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::HasFocusIO()
try {
    const HWND focus = ::GetFocus();
    if (focus != nullptr && (focus == GetHwnd() || focus == edit.GetHwnd()))
        return S_OK;
    return S_FALSE;
} catch (...) {
    return support::CaughtResult();
}

BOOL CConsoleCore::GetFolderPath(std::wstring& path, BOOL addTrailingBackslash) const
{
    return band::GetFolderPath(browser.Get(), path, addTrailingBackslash);
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
