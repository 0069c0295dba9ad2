#pragma once

#include <windows.h>

// Private messages sent or posted to the band window, and the band's own command identifiers.
// 0x8002 and 0x8004 are deliberately unused.
constexpr UINT WM_APP_EDITFOCUS = WM_APP + 1;  // the text box got the focus; wParam TRUE
constexpr UINT WM_APP_STDOUT = WM_APP + 3;     // posted: the interpreter's output waits in its queue
constexpr UINT WM_APP_EXITED = WM_APP + 5;     // the interpreter ended by itself

constexpr WORD ID_COMPLETE_FILE = 500;  // Ctrl+Tab: complete from the folder's files
constexpr WORD ID_SHOW_SETTINGS = 501;  // the text box's menu: Settings...
