#include "BandSite.h"

#include <shlguid.h>
#include <shlobj.h>

#include <utility>

namespace standin {

BandSite::BandSite(HWND bandParent, IWebBrowser2* browser, IShellBrowser* shellBrowser,
                   std::function<void()> bandInfoChanged)
    : bandParent(bandParent), browser(browser), shellBrowser(shellBrowser), bandInfoChanged(std::move(bandInfoChanged))
{
}

STDMETHODIMP BandSite::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleWindow)
        return Answer(static_cast<IOleWindow*>(this), object);
    if (iid == IID_IServiceProvider)
        return Answer(static_cast<IServiceProvider*>(this), object);
    if (iid == IID_IInputObjectSite)
        return Answer(static_cast<IInputObjectSite*>(this), object);
    if (iid == IID_IOleCommandTarget)
        return Answer(static_cast<IOleCommandTarget*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP BandSite::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = bandParent;
    return S_OK;
}

STDMETHODIMP BandSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP BandSite::QueryService(REFGUID service, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (service == SID_STopLevelBrowser || service == SID_SShellBrowser)
        return shellBrowser ? shellBrowser->QueryInterface(iid, object) : E_NOINTERFACE;
    if (service != SID_SWebBrowserApp && service != IID_IWebBrowserApp && service != IID_IWebBrowser2)
        return E_NOINTERFACE;
    return browser->QueryInterface(iid, object);
}

STDMETHODIMP BandSite::OnFocusChangeIS(IUnknown* object, BOOL hasFocus)
{
    Microsoft::WRL::ComPtr<IUnknown> identity;
    if (object)
        object->QueryInterface(IID_PPV_ARGS(&identity));
    focusChanges.push_back({identity.Get(), hasFocus != FALSE});
    return S_OK;
}

STDMETHODIMP BandSite::QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*)
{
    return OLECMDERR_E_UNKNOWNGROUP;
}

STDMETHODIMP BandSite::Exec(const GUID* group, DWORD command, DWORD, VARIANT*, VARIANT*)
{
    if (!group || *group != CGID_DeskBand)
        return OLECMDERR_E_UNKNOWNGROUP;
    if (command != DBID_BANDINFOCHANGED)
        return OLECMDERR_E_NOTSUPPORTED;
    if (bandInfoChanged)
        bandInfoChanged();
    return S_OK;
}

}  // namespace standin
