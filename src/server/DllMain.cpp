// The library's entry points: the component runtime finds the band's class through these.
#include <windows.h>

#include "band/ConsoleCoreFactory.h"
#include "registration/ModuleTypeLibrary.h"
#include "module/BrimblestoneModule.h"
#include "server/ClassTable.h"
#include "module/Guids.h"
#include "server/HostRestriction.h"
#include "server/ScriptResources.h"
#include "server/ServerRegistration.h"

namespace {

const server::ClassEntry servedClasses[] = {
    {&CLSID_ConsoleCore, server::ConsoleCoreScriptResource, &band::CreateConsoleCore},
};

server::CClassTable classTable(*server::libraryModule, servedClasses);

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    if (server::IsRefusedHostProcess())
        return FALSE;
    return server::libraryModule->IsInitialised() && classTable.IsInitialised();
}

STDAPI DllCanUnloadNow()
{
    return server::libraryModule->CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID interfaceId, void** object)
{
    return classTable.GetClassObject(classId, interfaceId, object);
}

STDAPI DllRegisterServer()
{
    return server::RegisterServer(*server::libraryModule, classTable, &registration::RegisterTypeLibraryOf);
}

STDAPI DllUnregisterServer()
{
    return server::UnregisterServer(*server::libraryModule, classTable, &registration::UnregisterTypeLibraryOf);
}
