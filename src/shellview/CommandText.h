#pragma once

#include <string>

namespace shellview {

// The letter lower-cased when it is one of A to Z; any other character as it is.
wchar_t LowerAsciiLetter(wchar_t c);

// Lower-cases the letters A to Z only, so that indexes into the copy stay indexes into the text.
std::wstring LowerAsciiLetters(std::wstring text);

// The text without white space at either end.
std::wstring TrimWhiteSpace(const std::wstring& text);

// The text without any quotation mark.
std::wstring RemoveQuotes(std::wstring text);

}  // namespace shellview
