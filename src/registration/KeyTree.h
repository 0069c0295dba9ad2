#pragma once

#include "support/UniqueRegistryKey.h"

#include <windows.h>

namespace registration {

// Opens `name` under `parent` (null opens `parent` itself again) into `key`, which keeps what it
// held when the open fails. Returns the platform's error code.
LONG OpenKey(HKEY parent, const wchar_t* name, REGSAM access, support::UniqueRegistryKey& key) noexcept;

// Deletes the key `name` under `parent` with everything below it. The first failing deletion
// ends the walk and is returned as an HRESULT.
HRESULT DeleteKeyTree(HKEY parent, const wchar_t* name) noexcept;

}  // namespace registration
