#pragma once

#include "ComObject.h"
#include "EventConnectionPoint.h"
#include "ListItems.h"
#include "support/ComResources.h"

#include <exdisp.h>
#include <ocidl.h>
#include <servprov.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <map>
#include <string>
#include <vector>

namespace standin {

// What the browser object asks of the window that shows it.
class BrowserHost {
public:
    // The browser's top window, also when the browser is one tab of it.
    virtual HWND TopLevelWindow() const = 0;
    virtual std::wstring LocationUrl() const = 0;
    // A "file:" address or a folder path; fails when it names no existing folder.
    virtual HRESULT Navigate(const std::wstring& target) = 0;
    virtual void Refresh() = 0;
    virtual void Quit() = 0;
    // What the view shows, selects or focuses, in view order, as the window itself sees it.
    virtual std::vector<std::wstring> ShownItemNames(ItemState state) const = 0;
    virtual IShellBrowser* ShellBrowserObject() const = 0;

protected:
    ~BrowserHost() = default;
};

// The browser window's automation object as the band (or, registered in the shell's window
// list, another process) sees it: location, window handle, navigation, refresh, quit, the
// DWebBrowserEvents2 connection point, properties, and the shell browser as the service
// SID_STopLevelBrowser. Besides what PutProperty stored,
// GetProperty answers the stand-in's own read-only properties "StandIn.Items",
// "StandIn.SelectedItems" and "StandIn.FocusedItems": the names the view shows, selects or
// focuses, in view order, one per line, as the window itself sees them. Methods that nobody
// has a use for answer E_NOTIMPL. Once its window is gone the object answers E_FAIL.
class WebBrowser final : public ComObject<IWebBrowser2, IConnectionPointContainer, IServiceProvider> {
public:
    explicit WebBrowser(BrowserHost* host);

    void DetachHost();
    // One navigation's events as the browser sends them: NavigateComplete2, TitleChange with
    // the window's new title, DocumentComplete.
    void FireNavigationEvents(const std::wstring& url, const std::wstring& title);
    void FireOnQuit();
    void DisconnectAllSinks();
    size_t SinkCount() const { return events->ConnectionCount(); }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

    // IWebBrowser
    STDMETHODIMP GoBack() override;
    STDMETHODIMP GoForward() override;
    STDMETHODIMP GoHome() override;
    STDMETHODIMP GoSearch() override;
    STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                          VARIANT* headers) override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP Refresh2(VARIANT* level) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP get_Application(IDispatch** application) override;
    STDMETHODIMP get_Parent(IDispatch** parent) override;
    STDMETHODIMP get_Container(IDispatch** container) override;
    STDMETHODIMP get_Document(IDispatch** document) override;
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL* topLevel) override;
    STDMETHODIMP get_Type(BSTR* type) override;
    STDMETHODIMP get_Left(LONG* left) override;
    STDMETHODIMP put_Left(LONG left) override;
    STDMETHODIMP get_Top(LONG* top) override;
    STDMETHODIMP put_Top(LONG top) override;
    STDMETHODIMP get_Width(LONG* width) override;
    STDMETHODIMP put_Width(LONG width) override;
    STDMETHODIMP get_Height(LONG* height) override;
    STDMETHODIMP put_Height(LONG height) override;
    STDMETHODIMP get_LocationName(BSTR* name) override;
    STDMETHODIMP get_LocationURL(BSTR* url) override;
    STDMETHODIMP get_Busy(VARIANT_BOOL* busy) override;

    // IWebBrowserApp
    STDMETHODIMP Quit() override;
    STDMETHODIMP ClientToWindow(int* width, int* height) override;
    STDMETHODIMP PutProperty(BSTR property, VARIANT value) override;
    STDMETHODIMP GetProperty(BSTR property, VARIANT* value) override;
    STDMETHODIMP get_Name(BSTR* name) override;
    STDMETHODIMP get_HWND(SHANDLE_PTR* window) override;
    STDMETHODIMP get_FullName(BSTR* name) override;
    STDMETHODIMP get_Path(BSTR* path) override;
    STDMETHODIMP get_Visible(VARIANT_BOOL* visible) override;
    STDMETHODIMP put_Visible(VARIANT_BOOL visible) override;
    STDMETHODIMP get_StatusBar(VARIANT_BOOL* shown) override;
    STDMETHODIMP put_StatusBar(VARIANT_BOOL shown) override;
    STDMETHODIMP get_StatusText(BSTR* text) override;
    STDMETHODIMP put_StatusText(BSTR text) override;
    STDMETHODIMP get_ToolBar(int* shown) override;
    STDMETHODIMP put_ToolBar(int shown) override;
    STDMETHODIMP get_MenuBar(VARIANT_BOOL* shown) override;
    STDMETHODIMP put_MenuBar(VARIANT_BOOL shown) override;
    STDMETHODIMP get_FullScreen(VARIANT_BOOL* fullScreen) override;
    STDMETHODIMP put_FullScreen(VARIANT_BOOL fullScreen) override;

    // IWebBrowser2
    STDMETHODIMP Navigate2(VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                           VARIANT* headers) override;
    STDMETHODIMP QueryStatusWB(OLECMDID command, OLECMDF* status) override;
    STDMETHODIMP ExecWB(OLECMDID command, OLECMDEXECOPT option, VARIANT* in, VARIANT* out) override;
    STDMETHODIMP ShowBrowserBar(VARIANT* barClass, VARIANT* show, VARIANT* size) override;
    STDMETHODIMP get_ReadyState(READYSTATE* state) override;
    STDMETHODIMP get_Offline(VARIANT_BOOL* offline) override;
    STDMETHODIMP put_Offline(VARIANT_BOOL offline) override;
    STDMETHODIMP get_Silent(VARIANT_BOOL* silent) override;
    STDMETHODIMP put_Silent(VARIANT_BOOL silent) override;
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL* registered) override;
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL registered) override;
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL* registered) override;
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL registered) override;
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL* theater) override;
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL theater) override;
    STDMETHODIMP get_AddressBar(VARIANT_BOOL* shown) override;
    STDMETHODIMP put_AddressBar(VARIANT_BOOL shown) override;
    STDMETHODIMP get_Resizable(VARIANT_BOOL* resizable) override;
    STDMETHODIMP put_Resizable(VARIANT_BOOL resizable) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override;

private:
    ~WebBrowser() override;
    void FireWithAddress(DISPID event, const std::wstring& url);

    BrowserHost* host;
    Microsoft::WRL::ComPtr<EventConnectionPoint> events;
    // What PutProperty stored, by name.
    std::map<std::wstring, support::UniqueVariant> properties;
};

}  // namespace standin
