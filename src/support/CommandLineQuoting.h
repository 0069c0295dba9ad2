#pragma once

#include <string>

namespace support {

// A name as it goes onto the interpreter's command line: enclosed in quotation marks when `always`
// is set or when it holds a space or one of & ( ) [ ] { } ^ = ; ! ' + , ` ~, the characters for
// which the interpreter's own name completion quotes; otherwise bare.
std::wstring QuotedWhenNeeded(const std::wstring& name, bool always = false);

}  // namespace support
