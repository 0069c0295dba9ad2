#include "band/ConsoleCore.h"

#include <shlwapi.h>

#include "module/BrimblestoneModule.h"
#include "support/ActivationContext.h"
#include "support/AppMessages.h"
#include "support/Diagnostics.h"

namespace band {
namespace {

constexpr UINT_PTR ShowOutputTimer = 1;
constexpr UINT_PTR EchoWaitTimer = 4;  // the band's other timers are 2, 3 and 5
// How long a part of what may be an echo waits for the rest before it is shown as output.
constexpr UINT EchoWait = 250;

// Notifications a parent reflects back to the control they came from arrive offset by this.
constexpr UINT ReflectedBase = WM_USER + 0x1c00;

support::WindowClass BandWindowClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof(description);
        description.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        description.lpszClassName = L"Brimblestone";
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

bool IsReflectedNotification(UINT message)
{
    if (message < ReflectedBase)
        return false;
    switch (message - ReflectedBase) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_PARENTNOTIFY:
        return true;
    default:
        return false;
    }
}

// The library's manifest asks for the common controls of version 6: its windows are made under it.
const support::ModuleActivationContext& LibraryActivationContext()
{
    static const support::ModuleActivationContext context(server::libraryModule->Instance());
    return context;
}

}  // namespace

BOOL CConsoleCore::CreateBandWindow()
{
    if (!::IsWindow(GetHwnd())) {
        const support::ActivationScope manifest(LibraryActivationContext());
        if (!CreateBoundWindow(BandWindowClass(), parentWindow, RECT{}, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | CCS_TOP | CCS_NORESIZE |
                                   CCS_NOPARENTALIGN | CCS_NODIVIDER,
                               0, 0)) {
            BRIMBLESTONE_TRACE_LAST_ERROR();
            return FALSE;
        }
        if (!edit.Create(GetHwnd()))
            BRIMBLESTONE_TRACE_LAST_ERROR();
        if (!accelTable) {
            ACCEL completeFile = {FVIRTKEY | FCONTROL, VK_TAB, ID_COMPLETE_FILE};
            accelTable.Reset(::CreateAcceleratorTableW(&completeFile, 1));
        }
        const HRESULT helper =
            ::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dropHelper));
        if (FAILED(helper))
            BRIMBLESTONE_TRACE_HRESULT(helper);
        const HRESULT registered = ::RegisterDragDrop(GetHwnd(), static_cast<IDropTarget*>(this));
        dropRegistered = SUCCEEDED(registered);
        if (!dropRegistered)
            BRIMBLESTONE_TRACE_HRESULT(registered);
    }
    if (!console.IsRunning())
        StartInterpreterInCurrentFolder();
    return TRUE;
}

void CConsoleCore::StartInterpreterInCurrentFolder()
{
    std::wstring folder;
    GetFolderPath(folder, FALSE);
    if (!console.Start(GetHwnd(), folder.c_str()))
        BRIMBLESTONE_TRACE_LAST_ERROR();
    // The console's own settings may give it another code page than the OEM one it starts from.
    CodePageMayHaveChanged();
    interpreterAsksForALine = false;
}

BOOL CConsoleCore::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    if (edit.ProcessWindowMessage(window, message, wParam, lParam, result, 0))
        return TRUE;
    result = 0;
    switch (message) {
    case WM_SIZE:
        LayOutTextBox();
        return TRUE;
    case WM_APP_EDITFOCUS:
        ReportFocus(static_cast<BOOL>(wParam));
        return TRUE;
    case WM_APP_STDOUT:
        ShowQueuedOutput();
        return TRUE;
    case WM_APP_EXITED:
        // The reader has ended: everything the interpreter wrote is queued, and shown before its end.
        TakeQueuedOutput();
        ReleaseHeldBackEcho();
        ShowPendingOutput();
        if (browser)
            browser->Quit();
        return TRUE;
    case WM_TIMER:
        if (wParam == ShowOutputTimer) {
            ShowOutputBatch();
        } else if (wParam == EchoWaitTimer) {
            ReleaseHeldBackEcho();
            ShowOutputBatch();
        } else if (wParam == FollowFolderTimer) {
            FollowWhenIdle();
        } else if (wParam == InterruptTimer) {
            EndProgramStillRunning();
        } else if (wParam == CodePageTimer) {
            FollowCodePageWhenQuiet();
        } else {
            return FALSE;
        }
        return TRUE;
    case WM_COMMAND:
        result = CompleteFromFileSystem(wParam);
        return TRUE;
    default:
        if (!IsReflectedNotification(message))
            return FALSE;
        result = ::DefWindowProcW(window, message - ReflectedBase, wParam, lParam);
        return TRUE;
    }
}

void CConsoleCore::LayOutTextBox()
{
    if (edit.GetHwnd() == nullptr)
        return;
    RECT client = {};
    ::GetClientRect(GetHwnd(), &client);
    ::MoveWindow(edit.GetHwnd(), client.left, client.top + 1, client.right - client.left,
                 client.bottom - client.top - 2, FALSE);
    ::InvalidateRect(GetHwnd(), nullptr, TRUE);
}

void CConsoleCore::ReportFocus(BOOL hasFocus)
{
    if (!inputSite)
        return;
    // The site may release the band while it is told; the band must survive the call.
    Identity()->AddRef();
    inputSite->OnFocusChangeIS(Identity(), hasFocus);
    Identity()->Release();
}

// The reader's notice: at most one append per message, so the window's thread is never held for
// long however fast output comes. What is left is shown on the timer.
void CConsoleCore::ShowQueuedOutput()
{
    // A full batcher takes nothing more: the reader waits, and what is gathered stays bounded.
    // Its timer is running; the notice is not repeated until the next take, so a flood does not
    // keep the window busy with notices ahead of the user's keys and the text box's drawing.
    if (!pendingOutput.IsFull() && TakeQueuedOutput())
        ShowOutputBatch();
}

// Moves everything the reader queued into the batcher, without appending; true when an append is due.
bool CConsoleCore::TakeQueuedOutput()
{
    takenOutput.clear();
    return console.TakeOutput(takenOutput) && GatherOutput(takenOutput.c_str());
}

// Output goes in front of the command line, in batches, without the echoes of submitted lines.
bool CConsoleCore::GatherOutput(const wchar_t* text)
{
    codePageFollowing.OutputArrived();
    const std::wstring& shown = echoes.Filter(text);
    if (echoes.HasHeldBack())
        ::SetTimer(GetHwnd(), EchoWaitTimer, EchoWait, nullptr);
    if (shown.empty())
        return false;
    const bool wasPending = pendingOutput.HasPending();
    const bool due = pendingOutput.Add(shown.c_str(), ::GetTickCount());
    if (!wasPending)
        ::SetTimer(GetHwnd(), ShowOutputTimer, pendingOutput.Interval(), nullptr);
    return due;
}

void CConsoleCore::ReleaseHeldBackEcho()
{
    ::KillTimer(GetHwnd(), EchoWaitTimer);
    if (echoes.HasHeldBack())
        pendingOutput.Add(echoes.ReleaseHeldBack().c_str(), ::GetTickCount());
}

// Shows everything gathered, for the keys and events that act on the text box as it stands.
// Output still queued is only taken, so a flood never holds the window's thread here.
void CConsoleCore::ShowPendingOutput()
{
    while (pendingOutput.HasPending())
        AppendOutputBatch();
    ShowOutputBatch();
}

// Appends one batch, then takes what the reader queued meanwhile, which lets a waiting reader go on.
// Trimming the scrollback costs about as much as an append, so it takes the turn of the append.
// The next batch is due on the shortest timer when it is full or follows a trim: timers come after
// keys and drawing, so a flood is shown as fast as the text box takes it while the band still answers.
void CConsoleCore::ShowOutputBatch()
{
    bool trimmed = false;
    if (pendingOutput.HasPending()) {
        trimmed = edit.TrimScrollbackFor(static_cast<int>(pendingOutput.NextTakeLength()));
        if (!trimmed)
            AppendOutputBatch();
    }
    if (!pendingOutput.IsFull())
        TakeQueuedOutput();
    if (pendingOutput.HasPending()) {
        const UINT delay = trimmed || pendingOutput.IsFull() ? USER_TIMER_MINIMUM : pendingOutput.Interval();
        ::SetTimer(GetHwnd(), ShowOutputTimer, delay, nullptr);
    }
}

void CConsoleCore::AppendOutputBatch()
{
    ::KillTimer(GetHwnd(), ShowOutputTimer);
    const std::wstring batch = pendingOutput.Take();
    const DWORD started = ::GetTickCount();
    edit.InsertOutput(batch.c_str());
    pendingOutput.Shown(started, ::GetTickCount(), batch.size());
}

}  // namespace band
