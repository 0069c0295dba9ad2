#include "ListFactory.h"

namespace shellwindows {

STDMETHODIMP ListFactory::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory)
        return Answer(static_cast<IClassFactory*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ListFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return list->QueryInterface(iid, object);
}

// The server runs until it is told to end, as the shell does: locks change nothing.
STDMETHODIMP ListFactory::LockServer(BOOL)
{
    return S_OK;
}

}  // namespace shellwindows
