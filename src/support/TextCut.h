#pragma once

#include <cstddef>
#include <string>

namespace support {

// Where the oldest part of a text may be cut off so that the rest begins well: the first place at or
// after `wanted` that follows a line end, when one comes within `span` characters; else `wanted`
// itself, or the place after it when `wanted` would split a surrogate pair. Never between the CR and
// the LF of one line end.
std::size_t CutAfterLineEnd(const std::wstring& text, std::size_t wanted, std::size_t span);

}  // namespace support
