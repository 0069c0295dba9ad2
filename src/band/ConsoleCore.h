#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "band/CodePageFollowing.h"
#include "band/EchoFilter.h"
#include "band/IConsoleCore.h"
#include "band/OutputBatcher.h"
#include "console/ConsoleProcess.h"
#include "module/BrimblestoneModule.h"
#include "support/UniqueHandle.h"
#include "support/WindowImpl.h"
#include "shellview/BuiltinCommand.h"
#include "shellview/FileNameSearch.h"
#include "view/EditWindow.h"
#include "view/CommandHistory.h"

namespace band {

// The band object: one per browser window that shows the console. It lives on the browser
// window's thread; the interpreter's worker threads reach it only through messages.
class CConsoleCore : public IObjectWithSite,
                     public IConsoleCore,
                     public IPersistStream,
                     public IDeskBand,
                     public IInputObject,
                     public IDropTarget,
                     public support::CWindowImpl {
public:
    // With an outer object the band is aggregated: its interfaces answer for the outer object,
    // and the outer object holds the band through InnerUnknown().
    explicit CConsoleCore(IUnknown* outer = nullptr);
    ~CConsoleCore() override;
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

    // The band window's message map; every message is offered to the text box's map first.
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId) override;

    // The folder the browser shows, or "C:\" with FALSE when it shows no file-system folder.
    BOOL GetFolderPath(std::wstring& path, BOOL addTrailingBackslash) const;

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

    BOOL CreateBandWindow();
    void StartInterpreterInCurrentFolder();
    void ConnectBrowserEvents();
    void DisconnectBrowserEvents();
    void ReleaseBrowser();
    void StopServing();
    void Unsite();
    void LayOutTextBox();
    void ReportFocus(BOOL hasFocus);

    // Interpreter output, taken from the reader's queue, gathered and shown in batches.
    void ShowQueuedOutput();
    bool TakeQueuedOutput();
    bool GatherOutput(const wchar_t* text);
    void ShowPendingOutput();
    void ShowOutputBatch();
    void AppendOutputBatch();
    void ReleaseHeldBackEcho();

    // Keys and the command line.
    void SubmitLine();
    void RecallOlder();
    void RecallNewer();
    void ShowPrompt();
    // Writes one line of the console's own, then a prompt and the command line again as it was.
    void SayAboveInput(const std::wstring& line);
    void ReplaceInput(const std::wstring& text);
    BOOL RunBuiltinCommand(const shellview::BuiltinCommand& command);
    void NavigateFromConsole(const std::wstring& folder, bool switchesDrive);
    void FollowConsoleNavigation();
    // The interpreter's code page, learnt anew first when a line sent since may have changed it.
    UINT InterpreterCodePage();
    void CodePageMayHaveChanged();
    void FollowCodePageWhenQuiet();
    // Moves the interpreter to the folder, or says why it cannot be moved there.
    void SendChangeDirectory(const std::wstring& folder);
    void ChangeToBrowserFolder(bool moveFocus);
    void WaitToChangeFolder();
    void FollowWhenIdle();
    // Whether the next line written to the interpreter would be read as input, not run: by a
    // program it runs, or by its own "set /p" or "pause".
    bool InterpreterReadsInput() const;

    // Ctrl+C and Ctrl+Break: the running program is asked to end, and ended when it does not.
    void InterruptProgram(bool breakKey);
    void EndProgramStillRunning();

    // Name completion from the folder view (Tab) and from the file system (Ctrl+Tab).
    void CompleteFromView();
    LRESULT CompleteFromFileSystem(WPARAM command);
    std::wstring InputUpToCaret(int caret) const;
    void ReplaceWordWithFound(const std::wstring& prefix, const std::wstring& name, const std::wstring& folder,
                              BOOL quoted);
    HWND BrowserWindow() const;
    std::vector<std::wstring> ViewNames() const;

    // The browser's events.
    void OnDocumentComplete();
    void OnQuit();
    void EndCompletionCycle();

    // Dropped files become names on the command line.
    void InsertDroppedNames(IDataObject* data, const std::wstring& folder);

    // The word being completed: the cycle of this band's window only.
    struct CompletionState {
        std::wstring tabPrefix;
        std::wstring tabBase;
        BOOL tabQuoted = FALSE;
        std::wstring findPrefix;
        BOOL findQuoted = FALSE;
        std::wstring findFolder;  // where the Ctrl+Tab search looks, with its trailing backslash
        // The view's names as the cycle began: reading them all once keeps each further Tab short.
        std::vector<std::wstring> tabNames;
    };

    static constexpr UINT_PTR FollowFolderTimer = 2;  // checks whether a waiting folder change can go
    static constexpr UINT_PTR InterruptTimer = 3;     // the grace after Ctrl+C has passed
    static constexpr UINT_PTR CodePageTimer = 5;      // checks whether the code page can be asked

    // Declared first, so it is destroyed last: after every member whose destructor runs code.
    server::ModuleLock moduleLock;
    InnerUnknownPart inner{*this};
    IUnknown* controllingUnknown;
    HWND parentWindow = nullptr;
    Microsoft::WRL::ComPtr<IUnknown> site;
    Microsoft::WRL::ComPtr<IWebBrowser2> browser;
    Microsoft::WRL::ComPtr<IServiceProvider> siteServices;  // leads to the browser's shell view
    Microsoft::WRL::ComPtr<IInputObjectSite> inputSite;
    view::CEditWindow edit;
    console::ConsoleProcess console;
    DWORD adviseCookie = 0;
    shellview::FileNameSearch findHandle;  // the open search of a Ctrl+Tab cycle
    BOOL navFromConsole = FALSE;
    support::UniqueAccelerator accelTable;
    int completeIndex = 0;
    CompletionState completion;
    Microsoft::WRL::ComPtr<IDropTargetHelper> dropHelper;
    view::CommandHistory history;
    OutputBatcher pendingOutput;
    std::wstring takenOutput;  // swapped with the reader's queue, so neither side allocates anew
    EchoFilter echoes;
    CodePageFollowing codePageFollowing;
    bool dropRegistered = false;
    bool dragOffersFiles = false;
    bool consoleLeftTheDrive = false;  // the console's own "cd" named another drive without the switch
    bool folderChangeWaits = false;     // a folder was shown while the interpreter ran a program
    bool interpreterAsksForALine = false;  // the last line run was a "set /p" or "pause" not yet answered
};

}  // namespace band
