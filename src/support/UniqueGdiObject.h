#pragma once

#include "support/UniqueHandle.h"

namespace support {

// Stock objects are never held by this type: they belong to the system.
template <typename Object>
struct GdiObjectTraits {
    using Type = Object;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type object) noexcept { ::DeleteObject(object); }
};

// A font or brush made by this code, deleted exactly once.
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;

}  // namespace support
