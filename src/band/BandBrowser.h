#pragma once

#include "session/HostBrowser.h"

#include <windows.h>
#include <exdisp.h>
#include <shlguid.h>
#include <servprov.h>
#include <wrl/client.h>

namespace band {

// The browser window that hosts the band, in the same process: its IWebBrowser2, and its services,
// which lead to the shell view of its active tab.
class BandBrowser final : public session::HostBrowser {
public:
    // Takes the browser that the site's services offer; none when they offer no web browser.
    void Connect(IServiceProvider* services);
    void Release() noexcept;
    IWebBrowser2* Browser() const noexcept { return browser.Get(); }

    std::optional<std::wstring> Folder() override;
    bool Navigate(const std::wstring& folder) override;
    void Refresh() override;
    std::unique_ptr<session::HostFolderView> ActiveView() override;
    void InterpreterEnded() override;

private:
    HWND TopLevelWindow() const;

    Microsoft::WRL::ComPtr<IWebBrowser2> browser;
    Microsoft::WRL::ComPtr<IServiceProvider> services;
};

}  // namespace band
