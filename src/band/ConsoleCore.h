#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "band/BandBrowser.h"
#include "band/BandFrame.h"
#include "band/IConsoleCore.h"
#include "module/BrimblestoneModule.h"
#include "session/ConsoleSession.h"

namespace band {

// The band object: one per browser window that shows the console. It hosts one console session
// in the browser's band site: the site's window holds the console, the browser's events and the
// files dropped on the console reach the session, and the session reaches the browser through the
// band's browser and frame. It lives on the browser window's thread.
class CConsoleCore final : public IObjectWithSite,
                           public IConsoleCore,
                           public IPersistStream,
                           public IDeskBand,
                           public IInputObject,
                           public IDropTarget {
public:
    // With an outer object the band is aggregated: its interfaces answer for the outer object,
    // and the outer object holds the band through InnerUnknown().
    explicit CConsoleCore(IUnknown* outer = nullptr);
    ~CConsoleCore();
    CConsoleCore(const CConsoleCore&) = delete;
    CConsoleCore& operator=(const CConsoleCore&) = delete;

    // The unknown that owns the band's lifetime: the band's own identity, or for an aggregated
    // band the one its outer object holds.
    IUnknown* InnerUnknown() { return &inner; }

    // IUnknown, delegating to the controlling unknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** site) override;

    // IDispatch (IConsoleCore): the browser's events arrive through Invoke
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IPersistStream: the band stores nothing
    STDMETHODIMP GetClassID(CLSID* classId) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

    // IDeskBand
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    STDMETHODIMP ShowDW(BOOL show) override;
    STDMETHODIMP CloseDW(DWORD reserved) override;
    STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* site, BOOL reserved) override;
    STDMETHODIMP GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) override;

    // IInputObject
    STDMETHODIMP UIActivateIO(BOOL activate, MSG* message) override;
    STDMETHODIMP HasFocusIO() override;
    STDMETHODIMP TranslateAcceleratorIO(MSG* message) override;

    // IDropTarget
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    // The band's own reference count and interface table; the controlling unknown when the
    // band is not aggregated.
    class InnerUnknownPart : public IUnknown {
    public:
        explicit InnerUnknownPart(CConsoleCore& band) : band(band) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        CConsoleCore& band;
        ULONG refCount = 0;
    };

    IUnknown* Identity() { return static_cast<IConsoleCore*>(this); }
    HRESULT FindInterface(REFIID iid, void** object);

    void OpenConsole();
    void ConnectBrowserEvents();
    void DisconnectBrowserEvents();
    void ReleaseBrowser();
    void StopServing();
    void Unsite();

    // Declared first, so it is destroyed last: after every member whose destructor runs code.
    server::ModuleLock moduleLock;
    InnerUnknownPart inner{*this};
    IUnknown* controllingUnknown;
    Microsoft::WRL::ComPtr<IUnknown> site;
    BandBrowser browser;
    BandFrame frame{*Identity()};
    DWORD adviseCookie = 0;
    Microsoft::WRL::ComPtr<IDropTargetHelper> dropHelper;
    bool dropRegistered = false;
    bool dragOffersFiles = false;
    // Declared last, so it is destroyed first: its window and interpreter go before what it reaches.
    session::ConsoleSession console{browser, frame, settings::HostKind::Band};
};

}  // namespace band
