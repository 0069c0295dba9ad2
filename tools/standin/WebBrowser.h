#pragma once

#include "ComObject.h"
#include "EventConnectionPoint.h"

#include <exdisp.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <string>

namespace standin {

// What the browser object asks of the window that shows it.
class BrowserHost {
public:
    virtual HWND TopLevelWindow() const = 0;
    virtual std::wstring LocationUrl() const = 0;
    // A "file:" address or a folder path; fails when it names no existing folder.
    virtual HRESULT Navigate(const std::wstring& target) = 0;
    virtual void Refresh() = 0;
    virtual void Quit() = 0;

protected:
    ~BrowserHost() = default;
};

// The browser window's automation object as the band sees it: location, window handle,
// navigation, refresh, quit, and the DWebBrowserEvents2 connection point. Methods that the
// band has no use for answer E_NOTIMPL. Once its window is gone the object answers E_FAIL.
class WebBrowser final : public ComObject<IWebBrowser2, IConnectionPointContainer> {
public:
    explicit WebBrowser(BrowserHost* host);

    void DetachHost();
    void FireDocumentComplete(const std::wstring& url);
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

private:
    ~WebBrowser() override;

    BrowserHost* host;
    Microsoft::WRL::ComPtr<EventConnectionPoint> events;
};

}  // namespace standin
