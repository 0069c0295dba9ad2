#pragma once

#include <windows.h>

#include <optional>

namespace companion {

// Where a console docked to a folder window goes: along the bottom of the window's client area,
// inside its visible frame, `heightAt96` pixels high at 100 % scaling made for the window's DPI,
// at least `leastHeight` pixels, and never taller than the client area. Nothing when the window is not to be seen: gone,
// hidden, minimized, or cloaked (on another virtual desktop, or hidden by the system).
std::optional<RECT> DockRectangle(HWND folderWindow, int heightAt96, int leastHeight);

// Whether the system keeps the window out of sight while it counts as shown.
bool IsCloaked(HWND window) noexcept;

// The window that a window kept directly above `below` in z-order goes after: the next window
// above it, or HWND_TOP where none is above or only topmost windows are, so that the window kept
// above never becomes topmost itself.
HWND InsertAfterFor(HWND below, HWND kept) noexcept;

}  // namespace companion
