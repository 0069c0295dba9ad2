#pragma once

#include "support/ComResources.h"

#include <oleauto.h>

#include <string>

namespace standin {

using support::UniqueBstr;

inline UniqueBstr MakeBstr(const std::wstring& text)
{
    return UniqueBstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

}  // namespace standin
