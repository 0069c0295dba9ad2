#pragma once

#include <windows.h>

#include <string>

namespace console {

// The bytes that carry `text` to the interpreter in `codePage`, without a terminating zero. FALSE
// when `text` is null or empty, or, with the last error ERROR_NO_UNICODE_TRANSLATION, when the code
// page cannot carry the text exactly (see EncodeExactly).
BOOL ConvertTextForPipe(const wchar_t* text, UINT codePage, std::string& bytes);

}  // namespace console
