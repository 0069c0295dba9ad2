#pragma once

#include <windows.h>

namespace console {

// Writes `text` to `pipe` as bytes in `codePage`, without a terminating zero, in one synchronous
// write. Characters without a mapping become the code page's default character. FALSE when `text`
// is null or empty, or when the write failed; a short write is not retried.
BOOL WriteTextToPipe(HANDLE pipe, const wchar_t* text, UINT codePage);

}  // namespace console
