#pragma once

#include "settings/ConsoleSettings.h"

namespace settings {

// The colours to show now for a choice of colours.
enum class Shade { Window, Light, Dark };

// Windows' app mode: AppsUseLightTheme = 0 under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize. Systems
// before Windows 10 1809 have no such value and are light.
bool AppsUseDarkTheme();

// With high contrast on, every choice shows the system's window colours, which high contrast sets.
Shade ShadeFor(ColourChoice choice);

}  // namespace settings
