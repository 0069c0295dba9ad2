#pragma once

#include "support/UniqueHandle.h"

#include <oleauto.h>

#include <string>

namespace standin {

struct BstrTraits {
    using Type = BSTR;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type text) noexcept { ::SysFreeString(text); }
};

using UniqueBstr = support::UniqueResource<BstrTraits>;

inline UniqueBstr MakeBstr(const std::wstring& text)
{
    return UniqueBstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

}  // namespace standin
