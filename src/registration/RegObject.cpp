#include "registration/RegObject.h"

#include "registration/ErrorHResult.h"
#include "registration/ScriptParser.h"
#include "registration/ScriptTables.h"
#include "support/UniqueLibrary.h"

#include <new>

namespace registration {
namespace {

// The script as wide text; it has no terminating NUL of its own, its length is the resource size.
HRESULT LoadScriptText(HMODULE library, UINT resourceId, const wchar_t* resourceType,
                       std::wstring& text)
{
    const HRSRC resource = ::FindResourceW(library, MAKEINTRESOURCEW(resourceId), resourceType);
    if (!resource)
        return HResultFromLastError();
    const HGLOBAL loaded = ::LoadResource(library, resource);
    if (!loaded)
        return HResultFromLastError();
    const DWORD size = ::SizeofResource(library, resource);
    if (size == 0)
        return HResultFromLastError();
    const char* bytes = static_cast<const char*>(::LockResource(loaded));
    if (!bytes)
        return HResultFromLastError();
    text.assign(size + 1, L'\0');
    const int converted = ::MultiByteToWideChar(CP_THREAD_ACP, 0, bytes, static_cast<int>(size),
                                                &text[0], static_cast<int>(size));
    if (converted == 0)
        return HResultFromLastError();
    text.resize(static_cast<std::size_t>(converted));
    return S_OK;
}

}  // namespace

HRESULT CRegObject::AddVariable(const wchar_t* name, const wchar_t* value) noexcept
{
    if (!name || !value)
        return E_INVALIDARG;
    try {
        variables.emplace_back(name, value);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CRegObject::ClearVariables() noexcept
{
    variables.clear();
    return S_OK;
}

const wchar_t* CRegObject::FindVariable(const std::wstring& name) const noexcept
{
    for (const auto& variable : variables) {
        if (EqualsIgnoringCase(variable.first.c_str(), name.c_str()))
            return variable.second.c_str();
    }
    return nullptr;
}

HRESULT CRegObject::RunScriptResource(const wchar_t* libraryPath, UINT resourceId,
                                      const wchar_t* resourceType, bool registering) noexcept
{
    const support::UniqueLibrary library(
        ::LoadLibraryExW(libraryPath, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!library)
        return HResultFromLastError();
    try {
        std::wstring text;
        const HRESULT loaded = LoadScriptText(library.Get(), resourceId, resourceType, text);
        if (FAILED(loaded))
            return loaded;
        return CRegParser(*this).RunScriptText(text.c_str(), registering);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace registration
