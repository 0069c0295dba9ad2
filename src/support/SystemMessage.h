#pragma once

#include <windows.h>

#include <string>

namespace support {

// The system's text for an error code, without its closing period and line end; the code in
// hexadecimal when the system has no text for it.
std::wstring SystemMessage(DWORD error);

}  // namespace support
