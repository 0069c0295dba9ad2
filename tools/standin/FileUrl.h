#pragma once

#include <optional>
#include <string>

namespace standin {

// The address under which the browser reports a file-system folder: "file:///" followed by the
// path with "/" for "\". The path is written in UTF-8, and every byte outside printable ASCII,
// the space and the characters " # % < > ? \ ^ ` { | } become %XX escapes (upper-case hex), so
// that a "#" or "%" in a folder name cannot be read as a fragment or an escape.
std::wstring FileUrlFromPath(const std::wstring& path);

// Decodes %XX escapes that form UTF-8 text; nothing when the escapes do not form valid UTF-8.
std::optional<std::wstring> PercentDecoded(const std::wstring& text);

// The path part of a "file:" address in any letter case, with "/" turned into "\":
// "file:///C:/x" gives C:\x, "file://server/share" gives \\server\share. Escapes are kept.
// Nothing when the text is not a "file:" address.
std::optional<std::wstring> PathPartOfFileUrl(const std::wstring& url);

}  // namespace standin
