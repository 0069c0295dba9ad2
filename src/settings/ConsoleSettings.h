#pragma once

#include <windows.h>

#include <string>

namespace settings {

// The two programs that show the console: the toolbar band in the file browser, and the
// companion program that docks a console to File Explorer windows from outside. They share one
// set of settings; a value the user never set takes the default of the program that reads it.
enum class HostKind { Band, Companion };

enum class ColourChoice {
    AppTheme,  // light or dark as Windows' app mode, switching when the user switches
    Light,
    Dark,
    Window,    // the system's window colours
};

// The console's settings as one host applies them.
struct ConsoleSettings {
    std::wstring fontFace;
    int fontPoints = 0;
    ColourChoice colours = ColourChoice::Window;
    int scrollbackLimit = 0;  // characters of output kept in the text box
    int historyLength = 0;    // lines recalled with Up
    bool keepHistory = false;  // saved for the next console and shared by all consoles

    // The companion program's own.
    int dockedHeight = 0;  // pixels at 100 % scaling
    bool showForNewWindows = false;
    bool startAtSignIn = false;  // the companion writes or removes its sign-in entry to match
    DWORD shortcut = 0;  // HIWORD: MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN; LOWORD: virtual key; 0: none
};

bool operator==(const ConsoleSettings& left, const ConsoleSettings& right);
inline bool operator!=(const ConsoleSettings& left, const ConsoleSettings& right) { return !(left == right); }

// The ranges a stored value must lie in; anything else is read as the default.
namespace limits {
constexpr int MinFontPoints = 6;
constexpr int MaxFontPoints = 72;
constexpr int MinScrollback = 10000;
constexpr int MaxScrollback = 10000000;
constexpr int MinHistoryLength = 1;
constexpr int MaxHistoryLength = 10000;
constexpr int MinDockedHeight = 60;
constexpr int MaxDockedHeight = 2000;
}  // namespace limits

// Ctrl+Alt+F11: function keys are free of AltGr characters (AltGr is Ctrl+Alt), of input
// methods and of the system's own shortcuts.
constexpr DWORD DefaultShortcut = MAKELONG(VK_F11, MOD_CONTROL | MOD_ALT);

// Whether a global shortcut can be used: none at all, or a key other than a modifier or Space
// (Space belongs to input methods and the window menu) held with Ctrl, Alt or Win.
bool IsUsableShortcut(DWORD shortcut) noexcept;

// What a host shows before the user sets anything. The band keeps the look it always had (the
// dialog font, the window colours, history for the window's lifetime only); the companion
// starts as consoles do (a console font, light or dark with Windows, history kept).
ConsoleSettings DefaultSettings(HostKind host);

}  // namespace settings
