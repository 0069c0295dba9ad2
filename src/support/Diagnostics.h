#pragma once

#include <windows.h>

namespace support {

// Writes "Brimblestone: file(line): HRESULT 0x........" through OutputDebugStringW, where a
// debugger (or WINEDEBUG=+debugstr) shows it: for failures that are otherwise only a BOOL or
// nothing at all. Returns the result it was given.
HRESULT TraceFailure(const char* file, int line, HRESULT result) noexcept;
// The same for the calling thread's last error; the last error stays as it was.
void TraceLastError(const char* file, int line) noexcept;

}  // namespace support

#define BRIMBLESTONE_TRACE_HRESULT(result) ::support::TraceFailure(__FILE__, __LINE__, (result))
#define BRIMBLESTONE_TRACE_LAST_ERROR() ::support::TraceLastError(__FILE__, __LINE__)
