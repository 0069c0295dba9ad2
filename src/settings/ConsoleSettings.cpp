#include "settings/ConsoleSettings.h"

#include "settings/InstalledFonts.h"

#include <algorithm>
#include <tuple>

namespace settings {

namespace {

constexpr int DefaultScrollback = 1000000;
constexpr int BandHistoryLength = 30;
constexpr int CompanionHistoryLength = 500;
constexpr int CompanionFontPoints = 10;
constexpr int DefaultDockedHeight = 200;

auto Fields(const ConsoleSettings& s)
{
    return std::tie(s.fontFace, s.fontPoints, s.colours, s.scrollbackLimit, s.historyLength, s.keepHistory,
                    s.dockedHeight, s.showForNewWindows, s.startAtSignIn, s.shortcut);
}

bool IsModifierKey(UINT key) noexcept
{
    constexpr UINT modifiers[] = {VK_SHIFT,  VK_CONTROL,  VK_MENU,  VK_LWIN,     VK_RWIN,     VK_LSHIFT,
                                  VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU};
    return std::find(std::begin(modifiers), std::end(modifiers), key) != std::end(modifiers);
}

}  // namespace

bool operator==(const ConsoleSettings& left, const ConsoleSettings& right)
{
    return Fields(left) == Fields(right);
}

bool IsUsableShortcut(DWORD shortcut) noexcept
{
    if (shortcut == 0)
        return true;
    const UINT modifiers = HIWORD(shortcut);
    const UINT key = LOWORD(shortcut);
    constexpr UINT known = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
    if ((modifiers & ~known) != 0 || (modifiers & (MOD_ALT | MOD_CONTROL | MOD_WIN)) == 0)
        return false;
    return key > 0 && key < 0xFF && key != VK_SPACE && !IsModifierKey(key);
}

ConsoleSettings DefaultSettings(HostKind host)
{
    ConsoleSettings defaults;
    defaults.scrollbackLimit = DefaultScrollback;
    defaults.dockedHeight = DefaultDockedHeight;
    defaults.showForNewWindows = true;
    defaults.startAtSignIn = false;
    defaults.shortcut = DefaultShortcut;
    if (host == HostKind::Band) {
        const FontChoice dialog = DialogFont();
        defaults.fontFace = dialog.face;
        defaults.fontPoints = std::clamp(dialog.points, limits::MinFontPoints, limits::MaxFontPoints);
        defaults.colours = ColourChoice::Window;
        defaults.historyLength = BandHistoryLength;
        defaults.keepHistory = false;
    } else {
        defaults.fontFace = ConsoleFontFace();
        defaults.fontPoints = CompanionFontPoints;
        defaults.colours = ColourChoice::AppTheme;
        defaults.historyLength = CompanionHistoryLength;
        defaults.keepHistory = true;
    }
    return defaults;
}

}  // namespace settings
