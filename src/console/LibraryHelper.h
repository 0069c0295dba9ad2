#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace console {

// Starts the system's rundll32, of this process's architecture as the library is, on the entry
// point `entry` of the library at `libraryPath`, with `arguments` after it. The short-lived helper
// does what this process must not: attach to another process's console. Empty when it could not
// be started. With `answer`, the helper writes its answer there: that handle, which must be
// inheritable, is its standard output and the one handle it inherits.
support::UniqueHandle StartLibraryHelper(const std::wstring& libraryPath, const wchar_t* entry,
                                         const std::wstring& arguments, DWORD creationFlags,
                                         HANDLE answer = nullptr);

}  // namespace console
