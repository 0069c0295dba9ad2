#pragma once

#include <windows.h>

#include <string>

namespace console {

// The bytes that carry `text` to the interpreter in `codePage`, without a terminating zero.
// Characters without a mapping become the code page's default character. FALSE when `text` is
// null or empty, or when it could not be converted.
BOOL ConvertTextForPipe(const wchar_t* text, UINT codePage, std::string& bytes);

}  // namespace console
