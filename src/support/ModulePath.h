#pragma once

#include <windows.h>

#include <string>

namespace support {

// The file of a loaded module (null: this process's program), however long; empty when it has none.
std::wstring ModulePath(HMODULE module);

}  // namespace support
