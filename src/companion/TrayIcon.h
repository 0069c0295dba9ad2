#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace companion {

// The program's icon in the taskbar's notification area. Its clicks reach the window as
// `callbackMessage` (lParam: the mouse message). The taskbar forgets it when Explorer restarts:
// the window then hears TaskbarCreatedMessage() and adds it again.
class TrayIcon {
public:
    TrayIcon(HWND window, UINT callbackMessage) noexcept : window(window), callbackMessage(callbackMessage) {}
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon (again); false while there is no taskbar to show it.
    bool Add(HICON icon, const std::wstring& tip) noexcept;
    void Remove() noexcept;

    // The message the taskbar broadcasts when it has been made anew.
    static UINT TaskbarCreatedMessage() noexcept;

private:
    NOTIFYICONDATAW Data() const noexcept;

    HWND window;
    UINT callbackMessage;
    bool shown = false;
};

}  // namespace companion
