#include "ShellBrowser.h"

#include <shlobj.h>
#include <wrl/client.h>

#include <string>

namespace standin {

STDMETHODIMP ShellBrowser::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellBrowser)
        return Answer(static_cast<IShellBrowser*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ShellBrowser::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = host ? host->TabWindow() : nullptr;
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP ShellBrowser::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP ShellBrowser::InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS)
{
    return E_NOTIMPL;
}

STDMETHODIMP ShellBrowser::SetMenuSB(HMENU, HOLEMENU, HWND)
{
    return E_NOTIMPL;
}

STDMETHODIMP ShellBrowser::RemoveMenusSB(HMENU)
{
    return E_NOTIMPL;
}

STDMETHODIMP ShellBrowser::SetStatusTextSB(LPCWSTR)
{
    return S_OK;
}

STDMETHODIMP ShellBrowser::EnableModelessSB(BOOL)
{
    return S_OK;
}

STDMETHODIMP ShellBrowser::TranslateAcceleratorSB(MSG*, WORD)
{
    return S_FALSE;
}

// A view opens a folder by its absolute identifier list, or one relative to the folder shown.
STDMETHODIMP ShellBrowser::BrowseObject(PCUIDLIST_RELATIVE item, UINT flags)
{
    if (!host)
        return E_FAIL;
    IShellView* active = host->ActiveShellView();
    PIDLIST_ABSOLUTE target = nullptr;
    if (flags & SBSP_RELATIVE) {
        Microsoft::WRL::ComPtr<IFolderView> folderView;
        Microsoft::WRL::ComPtr<IPersistFolder2> folder;
        PIDLIST_ABSOLUTE shown = nullptr;
        if (!active || FAILED(active->QueryInterface(IID_PPV_ARGS(&folderView))) ||
            FAILED(folderView->GetFolder(IID_PPV_ARGS(&folder))) || FAILED(folder->GetCurFolder(&shown)))
            return E_FAIL;
        target = ::ILCombine(shown, item);
        ::ILFree(shown);
    } else {
        target = ::ILClone(reinterpret_cast<PCIDLIST_ABSOLUTE>(item));
    }
    wchar_t path[MAX_PATH] = {};
    const bool found = target && ::SHGetPathFromIDListW(target, path);
    ::ILFree(target);
    if (!found)
        return E_FAIL;
    host->OpenFolderFromView(path);
    return S_OK;
}

STDMETHODIMP ShellBrowser::GetViewStateStream(DWORD, IStream** stream)
{
    if (stream)
        *stream = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ShellBrowser::GetControlWindow(UINT, HWND* window)
{
    if (window)
        *window = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ShellBrowser::SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT* result)
{
    if (result)
        *result = 0;
    return E_NOTIMPL;
}

STDMETHODIMP ShellBrowser::QueryActiveShellView(IShellView** view)
{
    if (!view)
        return E_POINTER;
    *view = host ? host->ActiveShellView() : nullptr;
    if (!*view)
        return E_FAIL;
    (*view)->AddRef();
    return S_OK;
}

STDMETHODIMP ShellBrowser::OnViewWindowActive(IShellView*)
{
    return S_OK;
}

STDMETHODIMP ShellBrowser::SetToolbarItems(LPTBBUTTONSB, UINT, UINT)
{
    return S_OK;
}

}  // namespace standin
