#pragma once

#include "ComObject.h"
#include "EventConnectionPoint.h"
#include "support/UniqueHandle.h"

#include <exdisp.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <deque>
#include <vector>

namespace shellwindows {

// The shell's list of open browser windows, kept as Explorer keeps it for every program of the
// session: browsers register with their top window and their IWebBrowser2 and are found again
// through Count, Item, _NewEnum and FindWindowSW. WindowRegistered and WindowRevoked go to the
// DShellWindowsEvents sinks after the call that caused them has returned.
//
// A browser whose process ended without revoking is forgotten once its window is gone: it is
// neither counted nor handed out, and no WindowRevoked is sent for it (listeners enumerate again
// on every event). Entries registered without a browser object are kept for FindWindowSW only.
class ShellWindowList final : public standin::ComObject<IShellWindows, IConnectionPointContainer> {
public:
    ShellWindowList();

    // Cuts every client's connection to the list, for the server's end.
    void Disconnect();

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

    // IShellWindows
    STDMETHODIMP get_Count(LONG* count) override;
    STDMETHODIMP Item(VARIANT index, IDispatch** browser) override;
    STDMETHODIMP _NewEnum(IUnknown** enumerator) override;
    STDMETHODIMP Register(IDispatch* browser, LONG window, int windowClass, LONG* cookie) override;
    STDMETHODIMP RegisterPending(LONG threadId, VARIANT* location, VARIANT* root, int windowClass,
                                 LONG* cookie) override;
    STDMETHODIMP Revoke(LONG cookie) override;
    STDMETHODIMP OnNavigate(LONG cookie, VARIANT* location) override;
    STDMETHODIMP OnActivated(LONG cookie, VARIANT_BOOL active) override;
    STDMETHODIMP FindWindowSW(VARIANT* location, VARIANT* root, int windowClass, LONG* window, int options,
                              IDispatch** browser) override;
    STDMETHODIMP OnCreated(LONG cookie, IUnknown* browser) override;
    STDMETHODIMP ProcessAttachDetach(VARIANT_BOOL attach) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

private:
    struct Entry {
        LONG cookie = 0;
        Microsoft::WRL::ComPtr<IDispatch> browser;
        HWND window = nullptr;
        DWORD processId = 0;  // the process that owned the window when it registered
        int windowClass = 0;
        std::vector<BYTE> location;  // the identifier list of the place shown, as the browser passed it
        bool pending = false;
        bool active = false;
    };
    struct QueuedEvent {
        DISPID id;
        LONG cookie;
    };

    ~ShellWindowList() override;
    static LRESULT CALLBACK EventWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void QueueEvent(DISPID id, LONG cookie);
    void FireQueuedEvents();
    void ForgetVanishedWindows();
    std::vector<Microsoft::WRL::ComPtr<IDispatch>> Browsers();
    Entry* Find(LONG cookie);
    const Entry* FindShowing(const VARIANT& location, int windowClass, bool includePending) const;
    LONG NextCookie();

    std::vector<Entry> entries;
    Microsoft::WRL::ComPtr<standin::EventConnectionPoint> events;
    support::UniqueWindow eventWindow;
    std::deque<QueuedEvent> queued;
    bool firing = false;
    LONG lastCookie = 0;
};

}  // namespace shellwindows
