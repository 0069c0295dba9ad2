#include "server/ServerRegistration.h"

#include "registration/RegistryScript.h"
#include "server/ClassTable.h"
#include "module/Guids.h"
#include "server/ScriptResources.h"
#include "server/ThreadLocaleScope.h"

namespace server {
namespace {

HRESULT RunAppIdScript(CBrimblestoneModule& module, bool registering) noexcept
{
    const registration::ScriptVariable variables[] = {{L"APPID", AppIdText}, {nullptr, nullptr}};
    return registration::RunRegistryScript(module, AppIdScriptResource, registering, variables);
}

HRESULT RunClassScripts(CBrimblestoneModule& module, const CClassTable& classes,
                        bool registering) noexcept
{
    for (const ClassEntry& entry : classes) {
        const HRESULT result = registration::RunRegistryScript(module, entry.scriptResourceId,
                                                               registering, nullptr);
        if (FAILED(result))
            return result;
    }
    return S_OK;
}

HRESULT FirstFailureOrOk(HRESULT result) noexcept
{
    return FAILED(result) ? result : S_OK;
}

}  // namespace

HRESULT RegisterServer(CBrimblestoneModule& module, const CClassTable& classes,
                       RegistrationStep registerTypeLibrary) noexcept
{
    const ThreadLocaleScope systemLocale;
    HRESULT result = RunAppIdScript(module, true);
    if (SUCCEEDED(result))
        result = RunClassScripts(module, classes, true);
    if (SUCCEEDED(result))
        result = registerTypeLibrary(module);
    return FirstFailureOrOk(result);
}

HRESULT UnregisterServer(CBrimblestoneModule& module, const CClassTable& classes,
                         RegistrationStep unregisterTypeLibrary) noexcept
{
    const ThreadLocaleScope systemLocale;
    HRESULT result = RunClassScripts(module, classes, false);
    if (SUCCEEDED(result))
        result = unregisterTypeLibrary(module);
    if (SUCCEEDED(result))
        result = RunAppIdScript(module, false);
    return FirstFailureOrOk(result);
}

}  // namespace server
