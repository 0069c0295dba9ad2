#include "registration/ErrorHResult.h"

namespace registration {

HRESULT HResultFromError(LONG code) noexcept
{
    if (code <= 0)
        return static_cast<HRESULT>(code);
    return static_cast<HRESULT>(0x80070000UL | (static_cast<ULONG>(code) & 0xFFFFUL));
}

HRESULT HResultFromLastError() noexcept
{
    const DWORD code = ::GetLastError();
    return code == ERROR_SUCCESS ? E_FAIL : HResultFromError(static_cast<LONG>(code));
}

}  // namespace registration
