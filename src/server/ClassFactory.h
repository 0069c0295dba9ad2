#pragma once

#include <windows.h>

#include <unknwn.h>

namespace server {

class CBrimblestoneModule;

// Creates one object of a served class. Without an outer object it creates a plain object,
// with one an aggregated object whose non-delegating IUnknown it hands out. It queries the new
// object for `interfaceId` and destroys it again when that fails, returning the query's result;
// allocation or construction failure is E_OUTOFMEMORY. Never throws.
using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID interfaceId, void** object);

// The class object of one served class. While anyone but the class table holds it, it holds
// one module lock, so that the library stays loaded.
class CClassFactory final : public IClassFactory {
public:
    // Creates a factory and queries it for `interfaceId`; the factory starts unreferenced.
    static HRESULT Create(CBrimblestoneModule& module, InstanceCreator createInstance,
                          REFIID interfaceId, void** object) noexcept;

    STDMETHODIMP QueryInterface(REFIID interfaceId, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID interfaceId, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    CClassFactory(CBrimblestoneModule& module, InstanceCreator createInstance) noexcept
        : module(module), createInstance(createInstance), references(0)
    {
    }
    ~CClassFactory() = default;

    CBrimblestoneModule& module;
    const InstanceCreator createInstance;
    volatile LONG references;
};

}  // namespace server
