#include "registration/RegistryScript.h"

#include "registration/ErrorHResult.h"
#include "registration/RegObject.h"
#include "module/BrimblestoneModule.h"
#include "module/Guids.h"

#include <new>
#include <string>

namespace registration {
namespace {

std::wstring DoubleSingleQuotes(const wchar_t* path)
{
    std::wstring escaped;
    for (const wchar_t* character = path; *character != L'\0'; ++character) {
        escaped.push_back(*character);
        if (*character == L'\'')
            escaped.push_back(L'\'');
    }
    return escaped;
}

HRESULT AddModuleVariables(CRegObject& registrar, const wchar_t* path)
{
    const std::wstring escaped = DoubleSingleQuotes(path);
    HRESULT result = registrar.AddVariable(L"Module", escaped.c_str());
    if (SUCCEEDED(result))
        result = registrar.AddVariable(L"Module_Raw", escaped.c_str());
    return result;
}

}  // namespace

HRESULT RunRegistryScript(server::CBrimblestoneModule& module, UINT resourceId, bool registering,
                          const ScriptVariable* extraVariables) noexcept
{
    CRegObject registrar;
    for (const ScriptVariable* variable = extraVariables; variable && variable->name; ++variable)
        registrar.AddVariable(variable->name, variable->value);
    HRESULT result = registrar.AddVariable(L"APPID", server::AppIdText);
    if (FAILED(result))
        return result;

    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(module.Instance(), path, MAX_PATH);
    if (length == 0)
        return HResultFromLastError();
    if (length == MAX_PATH)
        return HResultFromError(ERROR_INSUFFICIENT_BUFFER);

    try {
        result = AddModuleVariables(registrar, path);
    } catch (const std::bad_alloc&) {
        result = E_OUTOFMEMORY;
    }
    if (FAILED(result))
        return result;
    return registrar.RunScriptResource(path, resourceId, L"REGISTRY", registering);
}

}  // namespace registration
