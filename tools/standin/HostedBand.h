#pragma once

#include <windows.h>
#include <ocidl.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace standin {

// The toolbar band that the browser window hosts, seen through the interfaces that a browser
// uses: siting, band information, its window, showing and closing, focus and keys.
class HostedBand {
public:
    // Gives the band its site, asks for its band information and its window. A band that
    // refuses the site is released; one that took it but has no window is closed first.
    HRESULT Site(IUnknown* band, IUnknown* site);
    // ShowDW(FALSE), CloseDW(0), SetSite(null), then releases every reference to the band.
    void Close();

    bool IsSited() const { return static_cast<bool>(objectWithSite); }
    HWND Window() const { return window; }
    IUnknown* Object() const { return identity.Get(); }
    const DESKBANDINFO& BandInfo() const { return bandInfo; }
    // The strip height the band asked for: its actual height, at least its minimum.
    int Height() const;
    // Asks the band for its band information again, as after it said that it changed.
    void QueryBandInfo();

    HRESULT Show(bool show);
    HRESULT Activate(bool activate);
    bool HasFocus() const;
    // True when the band took the key: TranslateAcceleratorIO answered S_OK.
    bool TranslateKey(MSG& message);

private:
    void ReleaseBand();

    Microsoft::WRL::ComPtr<IUnknown> identity;
    Microsoft::WRL::ComPtr<IObjectWithSite> objectWithSite;
    Microsoft::WRL::ComPtr<IDockingWindow> dockingWindow;
    Microsoft::WRL::ComPtr<IDeskBand> deskBand;
    Microsoft::WRL::ComPtr<IInputObject> inputObject;
    DESKBANDINFO bandInfo = {};
    HWND window = nullptr;
};

}  // namespace standin
