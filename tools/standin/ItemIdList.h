#pragma once

#include "support/UniqueHandle.h"

#include <shlobj.h>

namespace standin {

struct ItemIdListTraits {
    using Type = PIDLIST_ABSOLUTE;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type list) noexcept { ::ILFree(list); }
};

// An absolute item identifier list owned by the holder.
using UniqueItemIdList = support::UniqueResource<ItemIdListTraits>;

}  // namespace standin
