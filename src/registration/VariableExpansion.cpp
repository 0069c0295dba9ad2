#include "registration/VariableExpansion.h"

#include "registration/RegObject.h"

#include <cwchar>

namespace registration {
namespace {

std::size_t InitialCapacity(std::size_t textLength) noexcept
{
    const std::size_t doubled = textLength * 2;
    return doubled < 100 ? 1000 : doubled;
}

}  // namespace

HRESULT ExpandVariables(const CRegObject& variables, const wchar_t* text, std::wstring* expanded)
{
    if (!text || !expanded)
        return E_POINTER;
    std::wstring result;
    result.reserve(InitialCapacity(std::wcslen(text)));
    const wchar_t* current = text;
    while (*current != L'\0') {
        if (*current != L'%') {
            result.push_back(*current++);
            continue;
        }
        if (current[1] == L'%') {
            result.push_back(L'%');
            current += 2;
            continue;
        }
        const wchar_t* nameStart = current + 1;
        const wchar_t* closing = std::wcschr(nameStart, L'%');
        if (!closing)
            return DISP_E_EXCEPTION;
        const std::size_t nameLength = static_cast<std::size_t>(closing - nameStart);
        if (nameLength > MaxVariableNameLength)
            return E_FAIL;
        const wchar_t* value = variables.FindVariable(std::wstring(nameStart, nameLength));
        if (!value)
            return DISP_E_EXCEPTION;
        result.append(value);
        current = closing + 1;
    }
    expanded->swap(result);
    return S_OK;
}

}  // namespace registration
