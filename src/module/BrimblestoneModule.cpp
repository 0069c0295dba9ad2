#include "module/BrimblestoneModule.h"

#include "module/Guids.h"

#include <new>

// The image this code is linked into: the library itself, or a test program that embeds it.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace server {

CBrimblestoneModule::CBrimblestoneModule(HINSTANCE instance, const GUID& libraryId) noexcept
    : instance(instance), libraryId(libraryId), lockCount(0)
{
}

CBrimblestoneModule::~CBrimblestoneModule()
{
    for (const auto& node : terminationCallbacks)
        node.first(node.second);
}

LONG CBrimblestoneModule::LockModule() noexcept
{
    return ::InterlockedIncrement(&lockCount);
}

LONG CBrimblestoneModule::UnlockModule() noexcept
{
    return ::InterlockedDecrement(&lockCount);
}

LONG CBrimblestoneModule::GetModuleLockCount() const noexcept
{
    return lockCount;
}

HRESULT CBrimblestoneModule::CanUnloadNow() const noexcept
{
    return GetModuleLockCount() == 0 ? S_OK : S_FALSE;
}

HRESULT CBrimblestoneModule::AddTerminationCallback(TerminationCallback callback,
                                                    DWORD_PTR argument) noexcept
{
    if (!IsInitialised())
        return E_UNEXPECTED;
    support::CriticalSectionGuard guard(section);
    try {
        terminationCallbacks.emplace_front(callback, argument);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

namespace {

CBrimblestoneModule theModule(reinterpret_cast<HINSTANCE>(&__ImageBase), LIBID_BrimblestoneLib);

}  // namespace

CBrimblestoneModule* const libraryModule = &theModule;

}  // namespace server
