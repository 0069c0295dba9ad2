#pragma once

#include <string>

namespace support {

// The folder where Windows keeps its own programs (GetSystemDirectoryW), wherever Windows is
// installed, without a trailing backslash. Empty when the system does not say.
std::wstring SystemFolder();

}  // namespace support
