#pragma once

#include <windows.h>

namespace registration {

// A platform error code as an HRESULT: success and values that already are HRESULTs pass
// unchanged, a positive code becomes a failure of the Win32 facility.
HRESULT HResultFromError(LONG code) noexcept;

// The calling thread's last error as an HRESULT; a platform call that failed without setting
// one still gives a failure (E_FAIL), never S_OK.
HRESULT HResultFromLastError() noexcept;

}  // namespace registration
