#include "settings/SettingsListener.h"

namespace settings {

namespace {

const support::WindowClass& ListenerClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description{};
        description.lpszClassName = L"Brimblestone Settings Listener";
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

// WM_SETTINGCHANGE names what changed: "ImmersiveColorSet" when the app mode switches.
bool ChangesAppearance(WPARAM action, LPARAM area) noexcept
{
    if (action == SPI_SETHIGHCONTRAST)
        return true;
    const auto* name = reinterpret_cast<const wchar_t*>(area);
    return name && ::CompareStringOrdinal(name, -1, L"ImmersiveColorSet", -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

UINT SettingsChangedMessage() noexcept
{
    static const UINT message = ::RegisterWindowMessageW(L"Brimblestone.SettingsChanged");
    return message;
}

void AnnounceSettingsChange() noexcept
{
    // Posted: a hung window elsewhere cannot hold up the settings window.
    ::PostMessageW(HWND_BROADCAST, SettingsChangedMessage(), 0, 0);
}

SettingsListener::SettingsListener(Handler handler) : handler(std::move(handler))
{
    CreateBoundWindow(ListenerClass(), nullptr, RECT{}, L"", WS_POPUP, WS_EX_TOOLWINDOW, 0);
}

BOOL SettingsListener::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                            DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    if (message == SettingsChangedMessage() && message != 0) {
        handler(SettingsChange::Saved);
    } else if ((message == WM_SETTINGCHANGE && ChangesAppearance(wParam, lParam)) || message == WM_SYSCOLORCHANGE) {
        handler(SettingsChange::Appearance);
        return FALSE;
    } else {
        return FALSE;
    }
    result = 0;
    return TRUE;
}

}  // namespace settings
