#pragma once

#include <string>

namespace settings {

// What the settings need to know of the fonts on this machine.
bool IsFontInstalled(const std::wstring& face);
bool IsFixedPitchFont(const std::wstring& face);

// The first installed of the faces consoles use (Cascadia Mono, Consolas, Lucida Console); on a
// machine with none of them, the fixed-pitch face the font mapper picks.
std::wstring ConsoleFontFace();

// The font the band has always shown: the dialog font (DEFAULT_GUI_FONT), in points.
struct FontChoice {
    std::wstring face;
    int points = 0;
};
FontChoice DialogFont();

}  // namespace settings
