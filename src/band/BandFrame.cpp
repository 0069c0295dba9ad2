#include "band/BandFrame.h"

#include "module/BrimblestoneModule.h"

#include <utility>

namespace band {

void BandFrame::Site(HWND newParent, Microsoft::WRL::ComPtr<IInputObjectSite> site)
{
    parent = newParent;
    inputSite = std::move(site);
}

void BandFrame::Unsite() noexcept
{
    parent = nullptr;
    inputSite.Reset();
}

void BandFrame::FocusChanged(bool hasFocus)
{
    if (!inputSite)
        return;
    // The site may release the band while it is told; the band must survive the call.
    const Microsoft::WRL::ComPtr<IUnknown> keepAlive(&band);
    const Microsoft::WRL::ComPtr<IInputObjectSite> site = inputSite;
    site->OnFocusChangeIS(&band, hasFocus ? TRUE : FALSE);
}

// The library itself carries the helpers' entry points.
HMODULE BandFrame::HelperLibrary()
{
    return server::libraryModule->Instance();
}

}  // namespace band
