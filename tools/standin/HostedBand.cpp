#include "HostedBand.h"

#include <algorithm>

namespace standin {
namespace {

// The band's identifier within the strip and the view mode, as a horizontal toolbar asks.
constexpr DWORD BandId = 0;
constexpr int DefaultBandHeight = 22;

}  // namespace

HRESULT HostedBand::Site(IUnknown* band, IUnknown* site)
{
    if (!band || !site)
        return E_POINTER;
    if (IsSited())
        return E_UNEXPECTED;
    Microsoft::WRL::ComPtr<IObjectWithSite> candidate;
    HRESULT result = band->QueryInterface(IID_PPV_ARGS(&candidate));
    if (FAILED(result))
        return result;
    band->QueryInterface(IID_PPV_ARGS(&identity));
    objectWithSite = candidate;
    band->QueryInterface(IID_PPV_ARGS(&dockingWindow));
    band->QueryInterface(IID_PPV_ARGS(&deskBand));
    band->QueryInterface(IID_PPV_ARGS(&inputObject));
    result = objectWithSite->SetSite(site);
    if (FAILED(result)) {
        ReleaseBand();
        return result;
    }
    QueryBandInfo();
    result = dockingWindow ? dockingWindow->GetWindow(&window) : E_NOINTERFACE;
    if (FAILED(result))
        Close();
    return result;
}

void HostedBand::QueryBandInfo()
{
    bandInfo = {};
    bandInfo.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE | DBIM_MODEFLAGS |
                      DBIM_BKCOLOR;
    if (!deskBand || FAILED(deskBand->GetBandInfo(BandId, DBIF_VIEWMODE_NORMAL, &bandInfo)))
        bandInfo.dwMask = 0;
}

int HostedBand::Height() const
{
    const int minimum = (bandInfo.dwMask & DBIM_MINSIZE) ? bandInfo.ptMinSize.y : 0;
    const int actual = (bandInfo.dwMask & DBIM_ACTUAL) ? bandInfo.ptActual.y : 0;
    const int height = std::max(minimum, actual);
    return height > 0 ? height : DefaultBandHeight;
}

void HostedBand::Close()
{
    if (dockingWindow) {
        dockingWindow->ShowDW(FALSE);
        dockingWindow->CloseDW(0);
    }
    if (objectWithSite)
        objectWithSite->SetSite(nullptr);
    ReleaseBand();
}

void HostedBand::ReleaseBand()
{
    inputObject.Reset();
    deskBand.Reset();
    dockingWindow.Reset();
    objectWithSite.Reset();
    identity.Reset();
    bandInfo = {};
    window = nullptr;
}

HRESULT HostedBand::Show(bool show)
{
    return dockingWindow ? dockingWindow->ShowDW(show ? TRUE : FALSE) : E_NOINTERFACE;
}

HRESULT HostedBand::Activate(bool activate)
{
    return inputObject ? inputObject->UIActivateIO(activate ? TRUE : FALSE, nullptr) : E_NOINTERFACE;
}

bool HostedBand::HasFocus() const
{
    return inputObject && inputObject->HasFocusIO() == S_OK;
}

bool HostedBand::TranslateKey(MSG& message)
{
    return inputObject && inputObject->TranslateAcceleratorIO(&message) == S_OK;
}

}  // namespace standin
