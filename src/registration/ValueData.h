#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace registration {

// The bytes that a data token stands for as a value of the given registry type.
// "B" data with an odd number of digits is E_FAIL; "D" data that is not an unsigned 32-bit
// number is DISP_E_EXCEPTION, so that no made-up number is written.
HRESULT EncodeValueData(DWORD type, const std::wstring& token, std::vector<BYTE>& data);

}  // namespace registration
