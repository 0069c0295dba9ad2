#pragma once

#include "ComObject.h"
#include "support/UniqueHandle.h"

#include <exdisp.h>
#include <ocidl.h>
#include <oleidl.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

// A minimal toolbar band that records what its host does to it: a window with a text box,
// the browser's events, the keys it is given and the files dropped on it.
class TestBand final : public standin::ComObject<IObjectWithSite, IDeskBand, IInputObject, IDispatch, IDropTarget> {
public:
    static Microsoft::WRL::ComPtr<TestBand> Create();

    struct Key {
        UINT message;
        WPARAM code;
        bool controlDown;
    };

    const std::vector<std::string>& Calls() const { return calls; }
    const std::vector<std::wstring>& CompletedUrls() const { return completedUrls; }
    const std::vector<Key>& Keys() const { return keys; }
    const std::vector<std::wstring>& DroppedFiles() const { return droppedFiles; }
    HWND EditWindow() const { return edit; }
    IUnknown* Site() const { return site.Get(); }
    IWebBrowser2* Browser() const { return browser.Get(); }
    int QuitEvents() const { return quitEvents; }
    bool WellFormedDocumentComplete() const { return wellFormed; }
    // From now on TranslateAcceleratorIO records keys but leaves them to the host (S_FALSE).
    void DeclineKeys() { declinesKeys = true; }
    // Connects to the browser's events as a second, unsited listener.
    HRESULT ListenTo(IWebBrowser2* source, DWORD* cookie);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* newSite) override;
    STDMETHODIMP GetSite(REFIID iid, void** object) override;

    // IDeskBand
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP ShowDW(BOOL show) override;
    STDMETHODIMP CloseDW(DWORD) override;
    STDMETHODIMP ResizeBorderDW(LPCRECT, IUnknown*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetBandInfo(DWORD, DWORD, DESKBANDINFO* info) override;

    // IInputObject
    STDMETHODIMP UIActivateIO(BOOL activate, MSG*) override;
    STDMETHODIMP HasFocusIO() override;
    STDMETHODIMP TranslateAcceleratorIO(MSG* message) override;

    // IDispatch: the browser's event sink
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                        UINT*) override;

    // IDropTarget
    STDMETHODIMP DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
    STDMETHODIMP DragLeave() override { return S_OK; }
    STDMETHODIMP Drop(IDataObject* data, DWORD, POINTL, DWORD*) override;

private:
    TestBand() = default;
    ~TestBand() override;
    void RecordDocumentComplete(const DISPPARAMS& parameters);

    Microsoft::WRL::ComPtr<IUnknown> site;
    Microsoft::WRL::ComPtr<IWebBrowser2> browser;
    Microsoft::WRL::ComPtr<IInputObjectSite> inputSite;
    DWORD cookie = 0;
    support::UniqueWindow window;
    HWND edit = nullptr;
    std::vector<std::string> calls;
    std::vector<std::wstring> completedUrls;
    std::vector<Key> keys;
    std::vector<std::wstring> droppedFiles;
    int quitEvents = 0;
    bool wellFormed = true;
    bool declinesKeys = false;
};
