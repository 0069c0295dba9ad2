#pragma once

#include <windows.h>

namespace server {
class CBrimblestoneModule;
}

namespace registration {

// One variable handed to a registration run; a list of them ends with a null name.
struct ScriptVariable {
    const wchar_t* name;
    const wchar_t* value;
};

// Runs the "REGISTRY" resource `resourceId` of the module's own library file in register or
// unregister mode. Besides `extraVariables` (may be null) and "APPID", the application identity,
// the script sees "Module" and "Module_Raw": the library's path with each single quote doubled,
// ready to stand inside a quoted token.
HRESULT RunRegistryScript(server::CBrimblestoneModule& module, UINT resourceId, bool registering,
                          const ScriptVariable* extraVariables) noexcept;

}  // namespace registration
