#include "TestObject.h"

#include <new>

const CLSID TestObject::ClassId = {0x6C1C5A3E, 0x51B2, 0x4C41, {0x9A, 0x77, 0x10, 0x2B, 0x3C, 0x4D, 0x5E, 0x6F}};
server::CBrimblestoneModule* TestObject::module = nullptr;
LONG TestObject::liveObjects = 0;

HRESULT TestObject::Create(IUnknown* outer, REFIID interfaceId, void** object) noexcept
{
    TestObject* created = new (std::nothrow) TestObject(outer);
    if (!created)
        return E_OUTOFMEMORY;
    const HRESULT result = created->inner.QueryInterface(interfaceId, object);
    if (FAILED(result))
        delete created;
    return result;
}

TestObject::TestObject(IUnknown* outer) : inner(*this), controlling(outer ? outer : &inner)
{
    ++liveObjects;
    module->LockModule();
}

TestObject::~TestObject()
{
    module->UnlockModule();
    --liveObjects;
}

STDMETHODIMP TestObject::QueryInterface(REFIID interfaceId, void** object)
{
    return controlling->QueryInterface(interfaceId, object);
}

STDMETHODIMP_(ULONG) TestObject::AddRef()
{
    return controlling->AddRef();
}

STDMETHODIMP_(ULONG) TestObject::Release()
{
    return controlling->Release();
}

STDMETHODIMP TestObject::GetClassID(CLSID* classId)
{
    *classId = ClassId;
    return S_OK;
}

STDMETHODIMP TestObject::Inner::QueryInterface(REFIID interfaceId, void** object)
{
    if (IsEqualIID(interfaceId, IID_IUnknown)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    if (IsEqualIID(interfaceId, IID_IPersist)) {
        *object = static_cast<IPersist*>(&owner);
        owner.AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TestObject::Inner::AddRef()
{
    return static_cast<ULONG>(++owner.references);
}

STDMETHODIMP_(ULONG) TestObject::Inner::Release()
{
    const LONG count = --owner.references;
    if (count == 0)
        delete &owner;
    return static_cast<ULONG>(count);
}

STDMETHODIMP CountingOuter::QueryInterface(REFIID interfaceId, void** object)
{
    if (!IsEqualIID(interfaceId, IID_IUnknown)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = this;
    AddRef();
    return S_OK;
}
