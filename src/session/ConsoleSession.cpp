#include "session/ConsoleSession.h"

#include "console/ConsoleMessages.h"
#include "session/FileLocation.h"
#include "session/RefusalText.h"
#include "support/Diagnostics.h"

#include <commctrl.h>

#include <utility>

namespace session {
namespace {

// Notifications a parent reflects back to the control they came from arrive offset by this.
constexpr UINT ReflectedBase = WM_USER + 0x1c00;

// Where the console stands while the browser shows no file-system folder.
constexpr wchar_t FallbackFolder[] = L"C:\\";

support::WindowClass ConsoleWindowClass()
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

}  // namespace

ConsoleSession::ConsoleSession(HostBrowser& browser, HostFrame& frame, settings::HostKind host)
    : browser(browser), frame(frame), hostKind(host)
{
}

// The window goes first, then the interpreter with the other members.
ConsoleSession::~ConsoleSession()
{
    if (::IsWindow(GetHwnd()))
        ::DestroyWindow(GetHwnd());
}

ConsoleSession::HostCall::HostCall(ConsoleSession& session) noexcept : session(session)
{
    ++session.hostCallDepth;
}

ConsoleSession::HostCall::~HostCall()
{
    if (--session.hostCallDepth == 0 && session.deferred.Any() && session.GetHwnd() != nullptr)
        ::PostMessageW(session.GetHwnd(), ResumeMessage, 0, 0);
}

bool ConsoleSession::Open()
{
    if (::IsWindow(GetHwnd()))
        return true;
    HWND parent = nullptr;
    {
        const HostCall call(*this);
        parent = frame.ParentWindow();
    }
    if (!CreateBoundWindow(ConsoleWindowClass(), parent, RECT{},
                           nullptr,
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | CCS_TOP | CCS_NORESIZE |
                               CCS_NOPARENTALIGN | CCS_NODIVIDER,
                           0, 0)) {
        BRIMBLESTONE_TRACE_LAST_ERROR();
        return false;
    }
    if (!edit.Create(GetHwnd()))
        BRIMBLESTONE_TRACE_LAST_ERROR();
    FollowSettings();
    if (!accelTable) {
        ACCEL completeFile = {FVIRTKEY | FCONTROL, VK_TAB, CompleteFileCommand};
        accelTable.Reset(::CreateAcceleratorTableW(&completeFile, 1));
    }
    return true;
}

void ConsoleSession::StartInterpreter()
{
    if (GetHwnd() == nullptr || console.IsRunning())
        return;
    const std::wstring folder = FolderOrFallback(false);
    HMODULE helpers = nullptr;
    {
        const HostCall call(*this);
        helpers = frame.HelperLibrary();
    }
    // A new interpreter: nothing is known of its prompts, its echo or its folder.
    interpreterAsksForALine = false;
    marksFollowed = false;
    promptWaits = false;
    echo = Echo::Unknown;
    echoCheckOutput.clear();
    promptFolder.reset();
    if (!console.Start(GetHwnd(), folder.c_str(), helpers))
        SayAboveInput(StartRefusal(::GetLastError(), folder));
}

void ConsoleSession::Show()
{
    ::ShowWindow(GetHwnd(), SW_SHOW);
    if (edit.GetHwnd() != nullptr)
        ::SetFocus(edit.GetHwnd());
}

void ConsoleSession::Hide()
{
    ShowPendingOutput();
    edit.ClearInput();
    edit.AppendText(L"exit\r\n", TRUE);
    if (console.IsRunning())
        console.Stop();
    ShowPendingOutput();
    ::ShowWindow(GetHwnd(), SW_HIDE);
    edit.ClearAll();
    // The next interpreter echoes nothing that this one was sent.
    echoes = EchoFilter();
}

// The interpreter, the key table and the completion stop; the windows stay.
void ConsoleSession::StopServing()
{
    accelTable.Reset();
    if (console.IsRunning())
        console.Stop();
    EndCompletionCycle();
}

// Output and echoes of the interpreter just stopped must not reach the next one's console, nor
// reports of the browser left behind. Letting go allocates nothing.
void ConsoleSession::Close()
{
    StopServing();
    pendingOutput = OutputBatcher();
    echoes.Forget();
    reports.drops.clear();
    reports.folderShown = false;
    reports.otherBrowser = false;
    reports.browserGone = false;
    reportsPosted = false;
    pendingKeys.clear();
    deferred = Deferred();
    settingsListener.reset();
    if (::IsWindow(GetHwnd()))
        ::DestroyWindow(GetHwnd());
}

void ConsoleSession::FolderShown()
{
    reports.folderShown = true;
    ReportsArrived();
}

void ConsoleSession::OtherBrowserShown()
{
    reports.otherBrowser = true;
    FolderShown();
}

// The browser's end needs no answer from it: it is handled at once, unless it came during one of the
// console's own calls to the host.
void ConsoleSession::BrowserGone()
{
    if (!InHostCall()) {
        OnBrowserGone();
        return;
    }
    reports.browserGone = true;
    ReportsArrived();
}

void ConsoleSession::FilesDropped(std::vector<std::wstring> paths)
{
    reports.drops.push_back(std::move(paths));
    ReportsArrived();
}

void ConsoleSession::ReportsArrived()
{
    if (GetHwnd() != nullptr && !reportsPosted)
        reportsPosted = ::PostMessageW(GetHwnd(), HostReportsMessage, 0, 0) != FALSE;
}

// Drops go first, in their order, then the folder shown, read anew when it is handled, then the
// browser's end. A report that arrives while these are handled waits for the next turn.
void ConsoleSession::HandleHostReports()
{
    reportsPosted = false;
    while (reports.Any()) {
        if (InHostCall()) {
            deferred.reports = true;
            return;
        }
        if (!reports.drops.empty()) {
            const std::vector<std::wstring> paths = std::move(reports.drops.front());
            reports.drops.pop_front();
            InsertDroppedNames(paths);
        } else if (reports.folderShown) {
            reports.folderShown = false;
            if (std::exchange(reports.otherBrowser, false))
                navFromConsole = false;
            OnFolderShown();
        } else {
            reports.browserGone = false;
            OnBrowserGone();
        }
    }
}

void ConsoleSession::ResumeDeferred()
{
    if (InHostCall())
        return;
    const Deferred waiting = std::exchange(deferred, Deferred());
    if (waiting.ended)
        OnInterpreterEnded();
    else if (waiting.output)
        ShowQueuedOutput();
    if (waiting.reports)
        HandleHostReports();
    if (waiting.settingsChanged)
        SettingsChanged();
    if (waiting.settingsWindow)
        ShowSettingsWindow();
    while (!pendingKeys.empty()) {
        if (InHostCall()) {
            deferred.keys = true;
            return;
        }
        MSG key = pendingKeys.front();
        pendingKeys.pop_front();
        HandleKey(key);
    }
}

std::wstring ConsoleSession::FolderOrFallback(bool trailingBackslash)
{
    std::wstring folder;
    if (!ShowsFileSystemFolder(folder))
        return FallbackFolder;
    return trailingBackslash ? WithTrailingBackslash(std::move(folder)) : folder;
}

bool ConsoleSession::ShowsFileSystemFolder(std::wstring& folder)
{
    std::optional<std::wstring> shown;
    {
        const HostCall call(*this);
        shown = browser.Folder();
    }
    if (!shown || shown->empty())
        return false;
    folder = std::move(*shown);
    return true;
}

void ConsoleSession::ReportFocus(bool hasFocus)
{
    const HostCall call(*this);
    frame.FocusChanged(hasFocus);
}

void ConsoleSession::Activate(bool activate)
{
    if (activate && edit.GetHwnd() != nullptr)
        ::SetFocus(edit.GetHwnd());
}

bool ConsoleSession::HasFocus() const
{
    const HWND focus = ::GetFocus();
    return focus != nullptr && (focus == GetHwnd() || focus == edit.GetHwnd());
}

BOOL ConsoleSession::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
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
    case view::EditFocusMessage:
        ReportFocus(wParam != FALSE);
        return TRUE;
    case view::PasteLinesMessage:
        PasteLines(*reinterpret_cast<const std::wstring*>(lParam));
        return TRUE;
    case console::OutputWaitingMessage:
        if (InHostCall())
            deferred.output = true;
        else
            ShowQueuedOutput();
        return TRUE;
    case console::InterpreterEndedMessage:
        if (InHostCall())
            deferred.ended = true;
        else
            OnInterpreterEnded();
        return TRUE;
    case HostReportsMessage:
        HandleHostReports();
        return TRUE;
    case ResumeMessage:
        ResumeDeferred();
        return TRUE;
    case WM_TIMER:
        // A timer that fires during a host call comes again; its work waits for the next one.
        if (!InHostCall())
            OnTimer(wParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == CompleteFileCommand)
            CompleteFromFileSystem();
        else if (LOWORD(wParam) == view::ShowSettingsCommand)
            ::PostMessageW(window, ShowSettingsMessage, 0, 0);
        return TRUE;
    case ShowSettingsMessage:
        if (InHostCall())
            deferred.settingsWindow = true;
        else
            ShowSettingsWindow();
        return TRUE;
    default:
        if (!IsReflectedNotification(message))
            return FALSE;
        result = ::DefWindowProcW(window, message - ReflectedBase, wParam, lParam);
        return TRUE;
    }
}

void ConsoleSession::LayOutTextBox()
{
    if (edit.GetHwnd() == nullptr)
        return;
    RECT client = {};
    ::GetClientRect(GetHwnd(), &client);
    ::MoveWindow(edit.GetHwnd(), client.left, client.top + 1, client.right - client.left,
                 client.bottom - client.top - 2, FALSE);
    ::InvalidateRect(GetHwnd(), nullptr, TRUE);
}

}  // namespace session
