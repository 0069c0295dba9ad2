#include "companion/DockPlacement.h"

#include "view/DpiFont.h"

#include <dwmapi.h>

#include <algorithm>

namespace companion {
namespace {

// The visible frame of the window; on systems that draw frames with DWM the window rectangle
// also holds invisible borders for resizing, which a docked console must not overhang.
RECT VisibleFrame(HWND window) noexcept
{
    RECT frame = {};
    if (FAILED(::DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof(frame))) ||
        ::IsRectEmpty(&frame))
        ::GetWindowRect(window, &frame);
    return frame;
}

RECT ClientOnScreen(HWND window) noexcept
{
    RECT client = {};
    ::GetClientRect(window, &client);
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

}  // namespace

bool IsCloaked(HWND window) noexcept
{
    // DWMWA_CLOAKED (Windows 8 on); older systems and Wine answer with a failure: not cloaked.
    constexpr DWORD CloakedAttribute = 14;
    DWORD cloaked = 0;
    return SUCCEEDED(::DwmGetWindowAttribute(window, CloakedAttribute, &cloaked, sizeof(cloaked))) && cloaked != 0;
}

std::optional<RECT> DockRectangle(HWND folderWindow, int heightAt96, int leastHeight)
{
    if (!::IsWindow(folderWindow) || !::IsWindowVisible(folderWindow) || ::IsIconic(folderWindow) ||
        IsCloaked(folderWindow))
        return std::nullopt;
    RECT area = ClientOnScreen(folderWindow);
    const RECT frame = VisibleFrame(folderWindow);
    if (!::IntersectRect(&area, &area, &frame))
        return std::nullopt;
    const int height = std::max(::MulDiv(heightAt96, static_cast<int>(view::WindowDpi(folderWindow)), 96), leastHeight);
    area.top = (area.bottom - area.top > height) ? area.bottom - height : area.top;
    return area;
}

HWND InsertAfterFor(HWND below, HWND kept) noexcept
{
    HWND above = ::GetWindow(below, GW_HWNDPREV);
    if (above == kept)
        above = ::GetWindow(kept, GW_HWNDPREV);
    if (above == nullptr || (::GetWindowLongW(above, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0)
        return HWND_TOP;
    return above;
}

}  // namespace companion
