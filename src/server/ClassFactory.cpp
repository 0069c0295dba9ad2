#include "server/ClassFactory.h"

#include "module/BrimblestoneModule.h"

#include <new>

namespace server {

HRESULT CClassFactory::Create(CBrimblestoneModule& module, InstanceCreator createInstance,
                              REFIID interfaceId, void** object) noexcept
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    CClassFactory* factory = new (std::nothrow) CClassFactory(module, createInstance);
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT result = factory->QueryInterface(interfaceId, object);
    if (FAILED(result))
        delete factory;
    return result;
}

STDMETHODIMP CClassFactory::QueryInterface(REFIID interfaceId, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(interfaceId, IID_IUnknown) || IsEqualIID(interfaceId, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// The class table keeps the first reference; the second is the first one from outside.
STDMETHODIMP_(ULONG) CClassFactory::AddRef()
{
    const LONG count = ::InterlockedIncrement(&references);
    if (count == 2)
        module.LockModule();
    return static_cast<ULONG>(count);
}

STDMETHODIMP_(ULONG) CClassFactory::Release()
{
    const LONG count = ::InterlockedDecrement(&references);
    if (count == 1)
        module.UnlockModule();
    else if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* outer, REFIID interfaceId, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer && !IsEqualIID(interfaceId, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    return createInstance(outer, interfaceId, object);
}

STDMETHODIMP CClassFactory::LockServer(BOOL lock)
{
    if (lock)
        module.LockModule();
    else
        module.UnlockModule();
    return S_OK;
}

}  // namespace server
