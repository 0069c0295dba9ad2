#include "view/TextColours.h"

#include <uxtheme.h>

namespace view {

namespace {

// The dark variant of the Explorer style (Windows 10 1809 on); older systems have no such class.
constexpr const wchar_t* DarkStyle = L"DarkMode_Explorer";

bool DarkScrollBarsExist(HWND window) noexcept
{
    const HTHEME theme = ::OpenThemeData(window, L"DarkMode_Explorer::ScrollBar");
    if (!theme)
        return false;
    ::CloseThemeData(theme);
    return true;
}

}  // namespace

void TextColours::Apply(Palette chosen, HWND textBox)
{
    if (chosen != palette || (chosen != Palette::Window && !brush)) {
        const bool dark = chosen == Palette::Dark;
        text = dark ? DarkText : LightText;
        background = dark ? DarkBackground : LightBackground;
        brush.Reset(chosen == Palette::Window ? nullptr : ::CreateSolidBrush(background));
        // Without a brush the system's colours are the only safe answer.
        palette = chosen == Palette::Window || brush ? chosen : Palette::Window;
    }
    if (!textBox)
        return;
    StyleScrollBar(textBox, palette == Palette::Dark);
    ::InvalidateRect(textBox, nullptr, TRUE);
    if (const HWND parent = ::GetParent(textBox))
        ::InvalidateRect(parent, nullptr, TRUE);
}

// The style is set only when it changes: setting it has every themed part of the window opened again.
void TextColours::StyleScrollBar(HWND textBox, bool dark) noexcept
{
    if (dark == darkScrollBar)
        return;
    if (dark && !DarkScrollBarsExist(textBox))
        return;
    ::SetWindowTheme(textBox, dark ? DarkStyle : nullptr, nullptr);
    darkScrollBar = dark;
}

BOOL TextColours::Answer(HWND window, HWND textBox, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT& result) const noexcept
{
    if (palette == Palette::Window || !brush || !textBox || window != ::GetParent(textBox))
        return FALSE;
    const HDC dc = reinterpret_cast<HDC>(wParam);
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != textBox)
            return FALSE;
        ::SetTextColor(dc, text);
        ::SetBkColor(dc, background);
        result = reinterpret_cast<LRESULT>(brush.Get());
        return TRUE;
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(window, &client);
        ::FillRect(dc, &client, brush.Get());
        result = 1;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace view
