#pragma once

#include <optional>
#include <string>

namespace session {

// The file-system folder that a browser location ("file:///C:/Program%20Files") names, escapes
// decoded, runs of them as UTF-8; a drive root keeps its backslash. Nothing for any other location:
// a web page, a virtual folder, a server share, escapes that spell no text.
std::optional<std::wstring> FolderOfLocation(const wchar_t* location);

// The folder with exactly one trailing backslash, as names are appended to it.
std::wstring WithTrailingBackslash(std::wstring folder);

}  // namespace session
