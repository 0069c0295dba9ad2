#include "registration/ScriptTables.h"

#include <cstddef>

namespace registration {
namespace {

struct RootKeyName {
    const wchar_t* name;
    HKEY key;
};

const RootKeyName rootKeys[] = {
    {L"HKCR", HKEY_CLASSES_ROOT},
    {L"HKCU", HKEY_CURRENT_USER},
    {L"HKLM", HKEY_LOCAL_MACHINE},
    {L"HKU", HKEY_USERS},
    {L"HKPD", HKEY_PERFORMANCE_DATA},
    {L"HKDD", HKEY_DYN_DATA},
    {L"HKCC", HKEY_CURRENT_CONFIG},
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
    {L"HKEY_DYN_DATA", HKEY_DYN_DATA},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

struct ValueTypeLetter {
    const wchar_t* name;
    DWORD type;
};

const ValueTypeLetter valueTypes[] = {
    {L"S", REG_SZ},
    {L"M", REG_MULTI_SZ},
    {L"D", REG_DWORD},
    {L"B", REG_BINARY},
};

struct ProtectedKeyName {
    const wchar_t* name;
};

const ProtectedKeyName protectedKeyNames[] = {
    {L"AppID"}, {L"CLSID"}, {L"Component Categories"}, {L"FileType"}, {L"Interface"},
    {L"Hardware"}, {L"Mime"}, {L"SAM"}, {L"SECURITY"}, {L"SYSTEM"}, {L"Software"}, {L"TypeLib"},
};

// The first row whose name matches regardless of case, or null.
template <typename Row, std::size_t Count>
const Row* FindRow(const Row (&table)[Count], const wchar_t* name) noexcept
{
    for (const Row& row : table) {
        if (::lstrcmpiW(name, row.name) == 0)
            return &row;
    }
    return nullptr;
}

}  // namespace

bool EqualsIgnoringCase(const wchar_t* left, const wchar_t* right) noexcept
{
    return ::lstrcmpiW(left, right) == 0;
}

HKEY FindRootKey(const wchar_t* name) noexcept
{
    const RootKeyName* root = FindRow(rootKeys, name);
    return root ? root->key : nullptr;
}

bool FindValueType(const wchar_t* letter, DWORD* type) noexcept
{
    const ValueTypeLetter* entry = FindRow(valueTypes, letter);
    if (entry)
        *type = entry->type;
    return entry != nullptr;
}

bool IsProtectedKeyName(const wchar_t* name) noexcept
{
    return FindRow(protectedKeyNames, name) != nullptr;
}

}  // namespace registration
