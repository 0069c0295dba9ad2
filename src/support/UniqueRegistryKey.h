#pragma once

#include "support/UniqueHandle.h"

namespace support {

// Predefined root keys are never held by this type: they belong to the process.
struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type key) noexcept { ::RegCloseKey(key); }
};

using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;

}  // namespace support
