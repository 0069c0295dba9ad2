#pragma once

#include <windows.h>

namespace server {

class CBrimblestoneModule;
class CClassTable;

// A registration step that the sequence calls at its place, such as the type library's.
using RegistrationStep = HRESULT (*)(CBrimblestoneModule& module);

// Registers the application identity, then each class of the table, then `registerTypeLibrary`.
// The first failing step ends the sequence and is returned; what was done stays.
HRESULT RegisterServer(CBrimblestoneModule& module, const CClassTable& classes,
                       RegistrationStep registerTypeLibrary) noexcept;

// Undoes the same pieces in reverse order: the classes, `unregisterTypeLibrary`, the
// application identity. The first failing step ends the sequence and is returned.
HRESULT UnregisterServer(CBrimblestoneModule& module, const CClassTable& classes,
                         RegistrationStep unregisterTypeLibrary) noexcept;

}  // namespace server
