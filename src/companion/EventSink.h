#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <functional>

namespace companion {

// A listener for one dispatch event interface of an object in another process (the shell window
// list's DShellWindowsEvents, a browser's DWebBrowserEvents2). Events arrive as incoming calls,
// also during this thread's own outgoing calls: the handler only records what happened and asks
// for it to be handled later; it must not call out. Once detached, events are answered and
// dropped. Lives on the thread that made it.
class EventSink final : public IDispatch {
public:
    using Handler = std::function<void(DISPID event, const DISPPARAMS& parameters)>;

    // One reference, held by the caller.
    static Microsoft::WRL::ComPtr<EventSink> Create(const IID& events, Handler handler);

    void Detach() noexcept { handler = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID event, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

private:
    EventSink(const IID& events, Handler handler);
    ~EventSink() = default;

    IID events;
    Handler handler;
    ULONG references = 1;
};

// The sink's connection to the object's events: advised when made, unadvised when dropped. A
// process already gone refuses the unadvise, which changes nothing here.
class EventConnection {
public:
    EventConnection() = default;
    ~EventConnection() { Disconnect(); }
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;

    // The result of the advise; on failure nothing is held.
    HRESULT Connect(IUnknown* source, const IID& events, IDispatch* sink);
    void Disconnect() noexcept;
    bool IsConnected() const noexcept { return point != nullptr; }

private:
    Microsoft::WRL::ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
};

}  // namespace companion
