#pragma once

#include "support/WindowImpl.h"

#include <functional>

namespace settings {

enum class SettingsChange {
    Saved,       // the settings window saved: read the settings again
    Appearance,  // Windows' app mode, high contrast or the system colours changed
};

// The message the settings window broadcasts to every top-level window once it has saved.
UINT SettingsChangedMessage() noexcept;
// Tells every console of the user, in every process, that the settings changed.
void AnnounceSettingsChange() noexcept;

// A hidden top-level window on the creating thread that hears the settings window's broadcast
// and the system's change messages (only top-level windows get them; the band's window is a
// child) and hands them on, on that thread.
class SettingsListener : public support::CWindowImpl {
public:
    using Handler = std::function<void(SettingsChange)>;

    explicit SettingsListener(Handler handler);
    bool IsListening() const noexcept { return GetHwnd() != nullptr; }

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

private:
    Handler handler;
};

}  // namespace settings
