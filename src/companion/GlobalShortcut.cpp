#include "companion/GlobalShortcut.h"

namespace companion {
namespace {

// MOD_NOREPEAT (Windows 7 on), which not every SDK defines.
constexpr UINT NoRepeat = 0x4000;

std::wstring KeyName(UINT key)
{
    if (key >= VK_F1 && key <= VK_F24)
        return L"F" + std::to_wstring(key - VK_F1 + 1);
    LONG scanCode = static_cast<LONG>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    // Keys of the extended block are named as such ("Home", not "Num 7").
    if ((key >= VK_PRIOR && key <= VK_HELP) || key == VK_DIVIDE || key == VK_NUMLOCK)
        scanCode |= 1L << 24;
    wchar_t name[64] = {};
    if (::GetKeyNameTextW(scanCode, name, 64) > 0)
        return name;
    return L"#" + std::to_wstring(key);
}

}  // namespace

bool GlobalShortcut::Hold(DWORD shortcut) noexcept
{
    Release();
    wanted = shortcut;
    if (shortcut == 0)
        return true;
    held = ::RegisterHotKey(window, id, HIWORD(shortcut) | NoRepeat, LOWORD(shortcut)) != FALSE;
    return held;
}

void GlobalShortcut::Release() noexcept
{
    if (held)
        ::UnregisterHotKey(window, id);
    held = false;
}

std::wstring ShortcutText(DWORD shortcut)
{
    if (shortcut == 0)
        return std::wstring();
    const UINT modifiers = HIWORD(shortcut);
    std::wstring text;
    if (modifiers & MOD_CONTROL)
        text += L"Ctrl+";
    if (modifiers & MOD_ALT)
        text += L"Alt+";
    if (modifiers & MOD_SHIFT)
        text += L"Shift+";
    if (modifiers & MOD_WIN)
        text += L"Win+";
    return text + KeyName(LOWORD(shortcut));
}

}  // namespace companion
