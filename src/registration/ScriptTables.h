#pragma once

#include <windows.h>

namespace registration {

// Words of the script language; all are compared without regard to case.
constexpr const wchar_t* KeywordForceRemove = L"ForceRemove";
constexpr const wchar_t* KeywordDelete = L"Delete";
constexpr const wchar_t* KeywordNoRemove = L"NoRemove";
constexpr const wchar_t* KeywordVal = L"Val";

bool EqualsIgnoringCase(const wchar_t* left, const wchar_t* right) noexcept;

// The predefined key a root block names ("HKCR", "HKEY_CLASSES_ROOT", ...), or null.
HKEY FindRootKey(const wchar_t* name) noexcept;

// The registry type of a value type letter ("S", "M", "D", "B"); false for any other word.
bool FindValueType(const wchar_t* letter, DWORD* type) noexcept;

// Keys that other software shares and that a forced removal must never delete.
bool IsProtectedKeyName(const wchar_t* name) noexcept;

}  // namespace registration
