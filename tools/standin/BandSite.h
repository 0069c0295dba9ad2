#pragma once

#include "ComObject.h"

#include <exdisp.h>
#include <oleidl.h>
#include <servprov.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <vector>

namespace standin {

// One focus report of the band through IInputObjectSite::OnFocusChangeIS.
struct FocusChange {
    IUnknown* object;  // the reporting object's identity, compared only, never called
    bool hasFocus;
};

// The site that the browser gives a toolbar band: the window the band's window goes into,
// the browser and its shell browser as services, and the place where the band reports focus changes.
class BandSite final : public ComObject<IOleWindow, IServiceProvider, IInputObjectSite> {
public:
    BandSite(HWND bandParent, IWebBrowser2* browser, IShellBrowser* shellBrowser = nullptr);

    const std::vector<FocusChange>& FocusChanges() const { return focusChanges; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

    // IInputObjectSite
    STDMETHODIMP OnFocusChangeIS(IUnknown* object, BOOL hasFocus) override;

private:
    HWND bandParent;
    Microsoft::WRL::ComPtr<IWebBrowser2> browser;
    Microsoft::WRL::ComPtr<IShellBrowser> shellBrowser;
    std::vector<FocusChange> focusChanges;
};

}  // namespace standin
