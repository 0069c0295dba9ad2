#pragma once

#include <windows.h>

#include <string>

namespace view {

// Puts `text` on the clipboard as Unicode text, in place of what it held; false when the memory
// could not be had or the clipboard not opened or written.
bool PutOnClipboard(HWND owner, const std::wstring& text);

}  // namespace view
