#include "companion/EventSink.h"

#include "support/ComBoundary.h"

#include <new>
#include <utility>

namespace companion {

Microsoft::WRL::ComPtr<EventSink> EventSink::Create(const IID& events, Handler handler)
{
    Microsoft::WRL::ComPtr<EventSink> sink;
    sink.Attach(new EventSink(events, std::move(handler)));
    return sink;
}

EventSink::EventSink(const IID& events, Handler handler) : events(events), handler(std::move(handler)) {}

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == events) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventSink::AddRef()
{
    return ++references;
}

STDMETHODIMP_(ULONG) EventSink::Release()
{
    const ULONG remaining = --references;
    if (remaining == 0)
        delete this;
    return remaining;
}

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP EventSink::Invoke(DISPID event, REFIID iid, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                               UINT*)
try {
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (parameters == nullptr)
        return E_INVALIDARG;
    // The handler may detach this sink; it stays alive for the call.
    const Microsoft::WRL::ComPtr<EventSink> keepAlive(this);
    if (handler)
        handler(event, *parameters);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

HRESULT EventConnection::Connect(IUnknown* source, const IID& events, IDispatch* sink)
{
    Disconnect();
    if (source == nullptr || sink == nullptr)
        return E_POINTER;
    Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
    Microsoft::WRL::ComPtr<IConnectionPoint> found;
    HRESULT result = source->QueryInterface(IID_PPV_ARGS(&container));
    if (SUCCEEDED(result))
        result = container->FindConnectionPoint(events, &found);
    DWORD newCookie = 0;
    if (SUCCEEDED(result))
        result = found->Advise(sink, &newCookie);
    if (SUCCEEDED(result)) {
        point = std::move(found);
        cookie = newCookie;
    }
    return result;
}

void EventConnection::Disconnect() noexcept
{
    if (!point)
        return;
    point->Unadvise(cookie);
    point.Reset();
    cookie = 0;
}

}  // namespace companion
