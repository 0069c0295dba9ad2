#pragma once

#include <windows.h>

#include <string>

namespace companion {

// A key combination that reaches the program from anywhere (WM_HOTKEY to its window), held while
// the object lives. Shortcuts are first come, first served: one another program holds cannot be
// had, and the user is told. Held keys do not repeat it.
class GlobalShortcut {
public:
    GlobalShortcut(HWND window, int id) noexcept : window(window), id(id) {}
    ~GlobalShortcut() { Release(); }
    GlobalShortcut(const GlobalShortcut&) = delete;
    GlobalShortcut& operator=(const GlobalShortcut&) = delete;

    // Holds the shortcut (settings::ConsoleSettings::shortcut; 0 holds none); false when it could
    // not be had, and then none is held.
    bool Hold(DWORD shortcut) noexcept;
    void Release() noexcept;
    bool IsHeld() const noexcept { return held; }
    // The shortcut asked for last, held or not.
    DWORD Wanted() const noexcept { return wanted; }

private:
    HWND window;
    int id;
    DWORD wanted = 0;
    bool held = false;
};

// The shortcut as the keyboard names it: "Ctrl+Alt+F11"; empty for none.
std::wstring ShortcutText(DWORD shortcut);

}  // namespace companion
