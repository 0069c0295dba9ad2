#pragma once

#include <windows.h>
#include <oaidl.h>

namespace server {
class CBrimblestoneModule;
}

namespace registration {

// Loads the type library of a module file: the file's own "TYPELIB" resource, else a ".tlb" file
// of the same name beside it. On success `path` is a new BSTR naming what was loaded.
HRESULT LoadModuleTypeLibrary(HINSTANCE instance, BSTR* path, ITypeLib** library);

// Records the module's type library with the platform, with the module's folder as help folder.
HRESULT RegisterModuleTypeLibrary(HINSTANCE instance);

// Removes the record of the module's type library.
HRESULT UnregisterModuleTypeLibrary(HINSTANCE instance);

// The same two steps in the form the server's registration sequence takes.
HRESULT RegisterTypeLibraryOf(server::CBrimblestoneModule& module);
HRESULT UnregisterTypeLibraryOf(server::CBrimblestoneModule& module);

}  // namespace registration
