#include "server/ClassTable.h"

#include <new>

namespace server {

CClassTable::CClassTable(CBrimblestoneModule& module, const ClassEntry* entries,
                         std::size_t count) noexcept
    : module(module), entries(entries), count(count), cache(new (std::nothrow) CachedFactory[count])
{
}

bool CClassTable::IsInitialised() const noexcept
{
    return cache && section.IsInitialised();
}

HRESULT CClassTable::GetClassObject(REFCLSID classId, REFIID interfaceId, void** object) noexcept
{
    if (!IsInitialised())
        return E_UNEXPECTED;
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (std::size_t index = 0; index < count; ++index) {
        if (!IsEqualCLSID(*entries[index].classId, classId))
            continue;
        CachedFactory& cached = cache[index];
        HRESULT result = CreateFactoryOnce(entries[index], cached);
        if (cached.created.load(std::memory_order_acquire))
            result = cached.factory->QueryInterface(interfaceId, object);
        if (!*object && result == S_OK)
            result = CLASS_E_CLASSNOTAVAILABLE;
        return result;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CClassTable::CreateFactoryOnce(const ClassEntry& entry, CachedFactory& cached) noexcept
{
    if (cached.created.load(std::memory_order_acquire))
        return S_OK;
    support::CriticalSectionGuard guard(section);
    if (cached.created.load(std::memory_order_relaxed))
        return S_OK;
    const HRESULT result = CClassFactory::Create(module, entry.createInstance, IID_IUnknown,
                                                 reinterpret_cast<void**>(cached.factory.ReleaseAndGetAddressOf()));
    if (SUCCEEDED(result))
        cached.created.store(true, std::memory_order_release);
    return result;
}

}  // namespace server
