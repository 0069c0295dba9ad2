#pragma once

#include "session/HostFrame.h"

#include <windows.h>
#include <docobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace band {

// The browser's band site as the console's frame: the site's window holds the console, and the site
// is told when the console gains or loses the focus and when its row height changes.
class BandFrame final : public session::HostFrame {
public:
    // `band` is the band's identity, which the site is told about and which outlives this frame.
    explicit BandFrame(IUnknown& band) : band(band) {}

    void Site(HWND parent, IUnknown& site);
    void Unsite() noexcept;

    HWND ParentWindow() override { return parent; }
    void FocusChanged(bool hasFocus) override;
    bool MayTakeFocus() override { return true; }
    HMODULE HelperLibrary() override;
    void RowHeightChanged() override;
    void RunModal(const std::function<void()>& window) override;

private:
    IUnknown& band;
    HWND parent = nullptr;
    Microsoft::WRL::ComPtr<IInputObjectSite> inputSite;
    Microsoft::WRL::ComPtr<IOleCommandTarget> siteCommands;
};

}  // namespace band
