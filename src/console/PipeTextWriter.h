#pragma once

#include <windows.h>

namespace console {

// Writes `text` to `pipe` as bytes in `codePage`, without a terminating zero, in one synchronous
// write. FALSE when `text` is null or empty, when the write failed (a short write is not retried),
// or, with the last error ERROR_NO_UNICODE_TRANSLATION and nothing written, when the code page
// cannot carry the text exactly (see EncodeExactly).
BOOL WriteTextToPipe(HANDLE pipe, const wchar_t* text, UINT codePage);

}  // namespace console
