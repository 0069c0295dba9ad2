#pragma once

#include <windows.h>

#include <new>

namespace support {

// The answer of a COM method to whatever escaped its body; the handler of the function-try-block
// that every COM entry point of the band wears, so that no exception unwinds into the caller's
// frames:
//     STDMETHODIMP Object::Method() try { ... } catch (...) { return support::CaughtResult(); }
inline HRESULT CaughtResult() noexcept
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace support
