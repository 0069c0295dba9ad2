#pragma once

#include "support/UniqueGdiObject.h"

namespace view {

// The colours of the console text box and of the window around it.
enum class Palette {
    Window,  // the system's window colours, exactly as an untouched text box shows them
    Light,
    Dark,
};

// Answers the colour questions that a text box asks its parent (WM_CTLCOLOREDIT, and
// WM_CTLCOLORSTATIC while it is read-only or disabled) and paints the parent's background to
// match. With the window colours it answers nothing, so the system's own drawing stays.
class TextColours {
public:
    static constexpr COLORREF DarkBackground = RGB(25, 25, 25);
    static constexpr COLORREF DarkText = RGB(240, 240, 240);
    static constexpr COLORREF LightBackground = RGB(255, 255, 255);
    static constexpr COLORREF LightText = RGB(0, 0, 0);

    // Takes the palette and gives the text box's scroll bar the dark style where the system has
    // one; both windows are drawn again.
    void Apply(Palette chosen, HWND textBox);
    Palette Current() const noexcept { return palette; }

    // A message that arrived at `window`: TRUE when it is the text box's parent asking, answered in result.
    BOOL Answer(HWND window, HWND textBox, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const noexcept;

private:
    void StyleScrollBar(HWND textBox, bool dark) noexcept;

    Palette palette = Palette::Window;
    COLORREF text = 0;
    COLORREF background = 0;
    support::UniqueBrush brush;
    bool darkScrollBar = false;
};

}  // namespace view
