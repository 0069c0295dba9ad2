#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace registration {

// The registrar of one registration run: the variables a script may use and the loading of a
// script from a library's resources.
class CRegObject {
public:
    // Copies both texts; a name added twice keeps both pairs, the earlier one wins on lookup.
    // E_INVALIDARG for a null text, E_OUTOFMEMORY when copying fails.
    HRESULT AddVariable(const wchar_t* name, const wchar_t* value) noexcept;
    HRESULT ClearVariables() noexcept;

    // The value of the first variable whose name matches regardless of case, or null.
    const wchar_t* FindVariable(const std::wstring& name) const noexcept;

    // Loads script resource `resourceId` of type `resourceType` from the library file at
    // `libraryPath`, converts it from the thread's ANSI code page and runs it.
    HRESULT RunScriptResource(const wchar_t* libraryPath, UINT resourceId,
                              const wchar_t* resourceType, bool registering) noexcept;

private:
    std::vector<std::pair<std::wstring, std::wstring>> variables;
};

}  // namespace registration
