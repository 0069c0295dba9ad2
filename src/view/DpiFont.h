#pragma once

#include "support/UniqueGdiObject.h"

#include <string>

namespace view {

// The DPI of the monitor a window is shown on, as the window sees it: GetDpiForWindow where the
// system has it (Windows 10 1607 on), else the screen's, as every window of a process had it before.
UINT WindowDpi(HWND window) noexcept;

// A font made from a face and a size in points for one DPI, so that text is as large and as sharp
// on every monitor. A face that is not installed gets the font mapper's nearest choice.
class DpiFont {
public:
    DpiFont() noexcept = default;
    // Makes the font; the object holds none when the system cannot make it.
    DpiFont(const std::wstring& face, int points, UINT dpi);

    explicit operator bool() const noexcept { return font.IsHeld(); }
    HFONT Get() const noexcept { return font.Get(); }
    const std::wstring& Face() const noexcept { return face; }
    int Points() const noexcept { return points; }
    UINT Dpi() const noexcept { return dpi; }
    bool Matches(const std::wstring& otherFace, int otherPoints, UINT otherDpi) const noexcept;

private:
    support::UniqueFont font;
    std::wstring face;
    int points = 0;
    UINT dpi = 0;
};

}  // namespace view
