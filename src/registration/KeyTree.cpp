#include "registration/KeyTree.h"

#include "registration/ErrorHResult.h"

namespace registration {
namespace {

// Registry key names are at most 255 characters long.
constexpr DWORD SubkeyNameCapacity = 256;

}  // namespace

LONG OpenKey(HKEY parent, const wchar_t* name, REGSAM access, support::UniqueRegistryKey& key) noexcept
{
    HKEY opened = nullptr;
    const LONG result = ::RegOpenKeyExW(parent, name, 0, access, &opened);
    if (result == ERROR_SUCCESS)
        key.Reset(opened);
    return result;
}

HRESULT DeleteKeyTree(HKEY parent, const wchar_t* name) noexcept
{
    support::UniqueRegistryKey key;
    const LONG opened = OpenKey(parent, name, KEY_READ | KEY_WRITE, key);
    if (opened != ERROR_SUCCESS)
        return HResultFromError(opened);
    for (;;) {
        wchar_t subkey[SubkeyNameCapacity];
        DWORD length = SubkeyNameCapacity;
        if (::RegEnumKeyExW(key.Get(), 0, subkey, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const HRESULT deleted = DeleteKeyTree(key.Get(), subkey);
        if (FAILED(deleted))
            return deleted;
    }
    key.Reset();
    return HResultFromError(::RegDeleteKeyW(parent, name));
}

}  // namespace registration
