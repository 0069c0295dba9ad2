#pragma once

#include "support/UniqueHandle.h"

namespace support {

struct LibraryTraits {
    using Type = HMODULE;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type library) noexcept { ::FreeLibrary(library); }
};

// A library loaded by this code, code or data file, freed exactly once.
using UniqueLibrary = UniqueResource<LibraryTraits>;

}  // namespace support
