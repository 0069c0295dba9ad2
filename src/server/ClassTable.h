#pragma once

#include "server/ClassFactory.h"
#include "support/CriticalSection.h"

#include <windows.h>

#include <wrl/client.h>

#include <atomic>
#include <cstddef>
#include <memory>

namespace server {

class CBrimblestoneModule;

// One class the library serves.
struct ClassEntry {
    const CLSID* classId;
    // The "REGISTRY" resource that registers and unregisters the class.
    UINT scriptResourceId;
    InstanceCreator createInstance;
};

// The classes the library serves, each with its class factory, created on first request and
// kept until the table is destroyed at library end.
class CClassTable {
public:
    template <std::size_t Count>
    CClassTable(CBrimblestoneModule& module, const ClassEntry (&entries)[Count]) noexcept
        : CClassTable(module, entries, Count)
    {
    }
    CClassTable(CBrimblestoneModule& module, const ClassEntry* entries, std::size_t count) noexcept;
    CClassTable(const CClassTable&) = delete;
    CClassTable& operator=(const CClassTable&) = delete;

    // False when the table's critical section or its cache could not be created.
    bool IsInitialised() const noexcept;

    // The class object of `classId`, queried for `interfaceId`. Two threads asking at once
    // create one factory. E_UNEXPECTED when the table is not initialised, E_POINTER,
    // CLASS_E_CLASSNOTAVAILABLE for a class the library does not serve.
    HRESULT GetClassObject(REFCLSID classId, REFIID interfaceId, void** object) noexcept;

    const ClassEntry* begin() const noexcept { return entries; }
    const ClassEntry* end() const noexcept { return entries + count; }

private:
    struct CachedFactory {
        Microsoft::WRL::ComPtr<IUnknown> factory;
        // Set once `factory` is filled; read without the lock.
        std::atomic<bool> created{false};
    };

    HRESULT CreateFactoryOnce(const ClassEntry& entry, CachedFactory& cache) noexcept;

    CBrimblestoneModule& module;
    const ClassEntry* const entries;
    const std::size_t count;
    const std::unique_ptr<CachedFactory[]> cache;
    support::CriticalSection section;
};

}  // namespace server
