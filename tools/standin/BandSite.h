#pragma once

#include "ComObject.h"

#include <docobj.h>
#include <exdisp.h>
#include <oleidl.h>
#include <servprov.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <vector>

namespace standin {

// One focus report of the band through IInputObjectSite::OnFocusChangeIS.
struct FocusChange {
    IUnknown* object;  // the reporting object's identity, compared only, never called
    bool hasFocus;
};

// The site that the browser gives a toolbar band: the window the band's window goes into,
// the browser and its shell browser as services, the place where the band reports focus changes,
// and the command target through which it says that its band information changed
// (CGID_DeskBand, DBID_BANDINFOCHANGED), upon which the browser asks for it again.
class BandSite final : public ComObject<IOleWindow, IServiceProvider, IInputObjectSite, IOleCommandTarget> {
public:
    BandSite(HWND bandParent, IWebBrowser2* browser, IShellBrowser* shellBrowser = nullptr,
             std::function<void()> bandInfoChanged = nullptr);

    const std::vector<FocusChange>& FocusChanges() const { return focusChanges; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

    // IInputObjectSite
    STDMETHODIMP OnFocusChangeIS(IUnknown* object, BOOL hasFocus) override;

    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in, VARIANT* out) override;

private:
    HWND bandParent;
    Microsoft::WRL::ComPtr<IWebBrowser2> browser;
    Microsoft::WRL::ComPtr<IShellBrowser> shellBrowser;
    std::vector<FocusChange> focusChanges;
    std::function<void()> bandInfoChanged;
};

}  // namespace standin
