#pragma once

#include "settings/ConsoleSettings.h"

namespace settings {

// Where the settings live, per user: HKEY_CURRENT_USER\Software\Brimblestone.
constexpr const wchar_t* SettingsKeyPath = L"Software\\Brimblestone";

// The values' names under that key.
namespace value {
constexpr const wchar_t* FontFace = L"FontFace";                    // REG_SZ
constexpr const wchar_t* FontSize = L"FontSize";                    // REG_DWORD, points
constexpr const wchar_t* Colours = L"Colours";                      // REG_SZ: theme, light, dark, window
constexpr const wchar_t* ScrollbackLimit = L"ScrollbackLimit";      // REG_DWORD, characters
constexpr const wchar_t* HistoryLength = L"HistoryLength";          // REG_DWORD, lines
constexpr const wchar_t* KeepHistory = L"KeepHistory";              // REG_DWORD, 0 or 1
constexpr const wchar_t* DockedHeight = L"DockedHeight";            // REG_DWORD, pixels at 100 %
constexpr const wchar_t* ShowForNewWindows = L"ShowForNewWindows";  // REG_DWORD, 0 or 1
constexpr const wchar_t* StartAtSignIn = L"StartAtSignIn";          // REG_DWORD, 0 or 1
constexpr const wchar_t* Shortcut = L"Shortcut";                    // REG_DWORD, modifiers << 16 | key
}  // namespace value

// The settings as `host` applies them. Every value that is missing, of another type, out of its
// range or (for the font) not installed reads as the host's default: reading never fails.
ConsoleSettings ReadSettings(HostKind host);
// The same from an open key; a null key reads as all defaults.
ConsoleSettings ReadSettings(HKEY key, HostKind host);

// Writes the values in which `after` differs from `before`, the settings as they were shown: a
// value the user left alone stays unset and keeps following each host's default.
// ERROR_SUCCESS, or the first error met.
LSTATUS WriteChangedSettings(HKEY key, const ConsoleSettings& before, const ConsoleSettings& after);
// The same under HKEY_CURRENT_USER\Software\Brimblestone, which is created when missing.
LSTATUS SaveChangedSettings(const ConsoleSettings& before, const ConsoleSettings& after);

}  // namespace settings
