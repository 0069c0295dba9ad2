#pragma once

#include "ComObject.h"

#include <ocidl.h>
#include <wrl/client.h>

#include <map>

namespace standin {

// A connection point of one event interface (the browser's DWebBrowserEvents2, the window
// list's DShellWindowsEvents): sinks connect with Advise and receive the events through
// IDispatch::Invoke.
class EventConnectionPoint final : public ComObject<IConnectionPoint> {
public:
    EventConnectionPoint(IConnectionPointContainer* container, REFIID events);

    // The container goes away before the last reference to this connection point may.
    void DetachContainer() { container = nullptr; }

    // Calls Invoke on every connected sink with the arguments, last argument first as
    // IDispatch expects them. A sink may disconnect itself or others while being called; a sink
    // in another process that has gone is let go.
    void Fire(DISPID event, VARIANTARG* arguments, UINT argumentCount);
    void DisconnectAll();
    size_t ConnectionCount() const { return sinks.size(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** result) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

private:
    IConnectionPointContainer* container;
    const IID events;
    std::map<DWORD, Microsoft::WRL::ComPtr<IDispatch>> sinks;
    DWORD lastCookie = 0;
};

}  // namespace standin
