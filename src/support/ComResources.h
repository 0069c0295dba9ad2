#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>
#include <oleauto.h>
#include <objidl.h>

namespace support {

struct BstrTraits {
    using Type = BSTR;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type text) noexcept { ::SysFreeString(text); }
};

// A string of the component runtime, freed once.
using UniqueBstr = UniqueResource<BstrTraits>;

// A VARIANT that clears what it holds.
class UniqueVariant : public VARIANT {
public:
    UniqueVariant() noexcept { ::VariantInit(this); }
    ~UniqueVariant() { ::VariantClear(this); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
};

// A storage medium received from a data object, released once.
class UniqueStgMedium : public STGMEDIUM {
public:
    UniqueStgMedium() noexcept : STGMEDIUM() {}
    ~UniqueStgMedium() { ::ReleaseStgMedium(this); }
    UniqueStgMedium(const UniqueStgMedium&) = delete;
    UniqueStgMedium& operator=(const UniqueStgMedium&) = delete;
};

// The memory of a global handle, locked for one scope; Get() is null when the lock failed.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory) noexcept : memory(memory), locked(::GlobalLock(memory)) {}
    ~GlobalLockScope()
    {
        if (locked != nullptr)
            ::GlobalUnlock(memory);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;

    void* Get() const noexcept { return locked; }

private:
    HGLOBAL memory;
    void* locked;
};

}  // namespace support
