#include "EventConnectionPoint.h"

#include <olectl.h>

#include <vector>

namespace standin {

namespace {

// The answers of a call to an object whose process has ended or cut its connections.
bool IsGone(HRESULT result)
{
    return result == RPC_E_DISCONNECTED || result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || result == CO_E_OBJNOTCONNECTED;
}

}  // namespace

EventConnectionPoint::EventConnectionPoint(IConnectionPointContainer* container, REFIID events)
    : container(container), events(events)
{
}

void EventConnectionPoint::Fire(DISPID event, VARIANTARG* arguments, UINT argumentCount)
{
    std::vector<std::pair<DWORD, Microsoft::WRL::ComPtr<IDispatch>>> called(sinks.begin(), sinks.end());
    for (const auto& [cookie, sink] : called) {
        if (sinks.find(cookie) == sinks.end())
            continue;
        DISPPARAMS parameters = {arguments, nullptr, argumentCount, 0};
        const HRESULT result = sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                            nullptr, nullptr, nullptr);
        if (IsGone(result))
            Unadvise(cookie);
    }
}

void EventConnectionPoint::DisconnectAll()
{
    // Released outside the map: a sink's destructor may call back into Unadvise.
    std::map<DWORD, Microsoft::WRL::ComPtr<IDispatch>> released;
    released.swap(sinks);
}

STDMETHODIMP EventConnectionPoint::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint)
        return Answer(static_cast<IConnectionPoint*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP EventConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid)
        return E_POINTER;
    *iid = events;
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** result)
{
    if (!result)
        return E_POINTER;
    *result = container;
    if (!container)
        return E_UNEXPECTED;
    container->AddRef();
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!cookie)
        return E_POINTER;
    *cookie = 0;
    if (!sink)
        return E_POINTER;
    Microsoft::WRL::ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(events, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_PPV_ARGS(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = ++lastCookie;
    sinks.emplace(*cookie, std::move(dispatch));
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::Unadvise(DWORD cookie)
{
    const auto found = sinks.find(cookie);
    if (found == sinks.end())
        return CONNECT_E_NOCONNECTION;
    const Microsoft::WRL::ComPtr<IDispatch> released = std::move(found->second);
    sinks.erase(found);
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (connections)
        *connections = nullptr;
    return E_NOTIMPL;
}

}  // namespace standin
