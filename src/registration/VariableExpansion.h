#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace registration {

class CRegObject;

// The longest variable name between two percent signs.
constexpr std::size_t MaxVariableNameLength = 31;

// Replaces each %Name% in the whole text with the variable's value; "%%" stands for one "%".
// Values are not scanned again. E_POINTER for null arguments, DISP_E_EXCEPTION for an
// unterminated or unknown variable, E_FAIL for an over-long name, E_OUTOFMEMORY.
HRESULT ExpandVariables(const CRegObject& variables, const wchar_t* text, std::wstring* expanded);

}  // namespace registration
