#include "TestBand.h"

#include <exdispid.h>
#include <shellapi.h>
#include <shlguid.h>

namespace {

FORMATETC FileListFormat()
{
    return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

}  // namespace

Microsoft::WRL::ComPtr<TestBand> TestBand::Create()
{
    Microsoft::WRL::ComPtr<TestBand> band;
    band.Attach(new TestBand());
    return band;
}

TestBand::~TestBand() = default;

HRESULT TestBand::ListenTo(IWebBrowser2* source, DWORD* connection)
{
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    HRESULT result = source->QueryInterface(IID_PPV_ARGS(&container));
    if (SUCCEEDED(result))
        result = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point);
    if (SUCCEEDED(result))
        result = point->Advise(static_cast<IDispatch*>(this), connection);
    return result;
}

STDMETHODIMP TestBand::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IObjectWithSite)
        return Answer(static_cast<IObjectWithSite*>(this), object);
    if (iid == IID_IOleWindow || iid == IID_IDockingWindow || iid == IID_IDeskBand)
        return Answer(static_cast<IDeskBand*>(this), object);
    if (iid == IID_IInputObject)
        return Answer(static_cast<IInputObject*>(this), object);
    if (iid == IID_IDispatch)
        return Answer(static_cast<IDispatch*>(this), object);
    if (iid == IID_IDropTarget)
        return Answer(static_cast<IDropTarget*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestBand::SetSite(IUnknown* newSite)
{
    if (!newSite) {
        calls.push_back("SetSite(null)");
        inputSite.Reset();
        site.Reset();
        return S_OK;
    }
    calls.push_back("SetSite");
    site = newSite;
    Microsoft::WRL::ComPtr<IOleWindow> siteWindow;
    Microsoft::WRL::ComPtr<IServiceProvider> services;
    HWND parent = nullptr;
    if (FAILED(newSite->QueryInterface(IID_PPV_ARGS(&siteWindow))) || FAILED(siteWindow->GetWindow(&parent)))
        return E_FAIL;
    newSite->QueryInterface(IID_PPV_ARGS(&inputSite));
    if (SUCCEEDED(newSite->QueryInterface(IID_PPV_ARGS(&services))) &&
        SUCCEEDED(services->QueryService(SID_SWebBrowserApp, IID_PPV_ARGS(&browser))))
        ListenTo(browser.Get(), &cookie);
    window.Reset(::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, nullptr,
                                   nullptr, nullptr));
    edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 20, window.Get(), nullptr,
                             nullptr, nullptr);
    return window ? S_OK : E_FAIL;
}

STDMETHODIMP TestBand::GetSite(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return site ? site->QueryInterface(iid, object) : E_FAIL;
}

STDMETHODIMP TestBand::GetWindow(HWND* result)
{
    calls.push_back("GetWindow");
    if (!result)
        return E_POINTER;
    *result = window.Get();
    return S_OK;
}

STDMETHODIMP TestBand::ShowDW(BOOL show)
{
    calls.push_back(show ? "ShowDW(TRUE)" : "ShowDW(FALSE)");
    ::ShowWindow(window.Get(), show ? SW_SHOW : SW_HIDE);
    return S_OK;
}

STDMETHODIMP TestBand::CloseDW(DWORD)
{
    calls.push_back("CloseDW");
    return S_OK;
}

STDMETHODIMP TestBand::GetBandInfo(DWORD, DWORD, DESKBANDINFO* info)
{
    calls.push_back("GetBandInfo");
    if (info) {
        info->ptMinSize = {300, 22};
        info->ptActual = {300, 44};
        info->dwMask &= ~DBIM_BKCOLOR;
    }
    return S_OK;
}

STDMETHODIMP TestBand::UIActivateIO(BOOL activate, MSG*)
{
    if (activate) {
        ::SetFocus(edit);
        if (inputSite)
            inputSite->OnFocusChangeIS(static_cast<IObjectWithSite*>(this), TRUE);
    }
    return S_OK;
}

STDMETHODIMP TestBand::HasFocusIO()
{
    const HWND focus = ::GetFocus();
    return focus && (focus == edit || focus == window.Get()) ? S_OK : S_FALSE;
}

STDMETHODIMP TestBand::TranslateAcceleratorIO(MSG* message)
{
    keys.push_back({message->message, message->wParam, (::GetKeyState(VK_CONTROL) & 0x8000) != 0});
    return declinesKeys ? S_FALSE : S_OK;
}

STDMETHODIMP TestBand::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP TestBand::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*)
{
    if (!parameters)
        return E_INVALIDARG;
    if (id == DISPID_DOCUMENTCOMPLETE)
        RecordDocumentComplete(*parameters);
    if (id == DISPID_ONQUIT) {
        calls.push_back("OnQuit");
        ++quitEvents;
        Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
        Microsoft::WRL::ComPtr<IConnectionPoint> point;
        if (browser && SUCCEEDED(browser->QueryInterface(IID_PPV_ARGS(&container))) &&
            SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)))
            point->Unadvise(cookie);
    }
    return S_OK;
}

void TestBand::RecordDocumentComplete(const DISPPARAMS& parameters)
{
    const bool shaped = parameters.cArgs == 2 && parameters.cNamedArgs == 0 &&
                        parameters.rgvarg[1].vt == VT_DISPATCH && parameters.rgvarg[1].pdispVal &&
                        parameters.rgvarg[0].vt == (VT_VARIANT | VT_BYREF) && parameters.rgvarg[0].pvarVal &&
                        parameters.rgvarg[0].pvarVal->vt == VT_BSTR;
    if (!shaped) {
        wellFormed = false;
        return;
    }
    const BSTR url = parameters.rgvarg[0].pvarVal->bstrVal;
    completedUrls.emplace_back(url, ::SysStringLen(url));
}

STDMETHODIMP TestBand::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    FORMATETC format = FileListFormat();
    *effect = SUCCEEDED(data->QueryGetData(&format)) ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    return S_OK;
}

STDMETHODIMP TestBand::Drop(IDataObject* data, DWORD, POINTL, DWORD*)
{
    FORMATETC format = FileListFormat();
    STGMEDIUM medium = {};
    if (FAILED(data->GetData(&format, &medium)))
        return S_OK;
    const auto drop = static_cast<HDROP>(::GlobalLock(medium.hGlobal));
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        wchar_t name[MAX_PATH] = {};
        ::DragQueryFileW(drop, i, name, MAX_PATH);
        droppedFiles.emplace_back(name);
    }
    ::GlobalUnlock(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return S_OK;
}
