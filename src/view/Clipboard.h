#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace view {

// Puts `text` on the clipboard as Unicode text, in place of what it held; false when the memory
// could not be had or the clipboard not opened or written.
bool PutOnClipboard(HWND owner, const std::wstring& text);

// The clipboard's Unicode text, up to its first null; nothing when it holds no text or cannot be
// opened.
std::optional<std::wstring> ClipboardText(HWND owner);

}  // namespace view
