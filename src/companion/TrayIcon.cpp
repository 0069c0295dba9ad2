#include "companion/TrayIcon.h"

#include <cwchar>

namespace companion {
namespace {

constexpr UINT IconId = 1;

}  // namespace

NOTIFYICONDATAW TrayIcon::Data() const noexcept
{
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = IconId;
    return data;
}

bool TrayIcon::Add(HICON icon, const std::wstring& tip) noexcept
{
    NOTIFYICONDATAW data = Data();
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    std::wcsncpy(data.szTip, tip.c_str(), sizeof(data.szTip) / sizeof(data.szTip[0]) - 1);
    // After a restart of the taskbar the old icon is gone; an icon still shown is replaced.
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    shown = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return shown;
}

void TrayIcon::Remove() noexcept
{
    if (!shown)
        return;
    NOTIFYICONDATAW data = Data();
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    shown = false;
}

UINT TrayIcon::TaskbarCreatedMessage() noexcept
{
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}  // namespace companion
