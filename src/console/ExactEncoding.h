#pragma once

#include <windows.h>

#include <string>

namespace console {

// Converts text for the interpreter into bytes of `codePage` only when every character is carried
// exactly: no best-fit look-alike (a full-width quotation mark must not become a real one), no
// default character ("?" is a wildcard), no unpaired surrogate. false, with bytes emptied and the
// last error ERROR_NO_UNICODE_TRANSLATION, when the text cannot be carried.
bool EncodeExactly(const std::wstring& text, UINT codePage, std::string& bytes);

// Whether EncodeExactly would carry the text.
bool CarriesExactly(const std::wstring& text, UINT codePage);

}  // namespace console
