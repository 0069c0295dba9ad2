#pragma once

#include <windows.h>
#include <unknwn.h>

namespace band {

// Creates a band object, plain or aggregated in `outer`, and queries it for `interfaceId`.
HRESULT CreateConsoleCore(IUnknown* outer, REFIID interfaceId, void** object) noexcept;

}  // namespace band
