#pragma once

#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/ConsoleProcess.h"
#include "session/EchoFilter.h"
#include "session/EndedProgramsText.h"
#include "session/HostBrowser.h"
#include "session/HostFrame.h"
#include "session/OutputBatcher.h"
#include "settings/ConsoleSettings.h"
#include "settings/HistoryFile.h"
#include "settings/SettingsListener.h"
#include "shellview/BuiltinCommand.h"
#include "shellview/FileNameSearch.h"
#include "support/UniqueHandle.h"
#include "support/WindowImpl.h"
#include "view/CommandHistory.h"
#include "view/EditWindow.h"

namespace session {

// One console: a window holding the text box, the hidden interpreter behind it, the command history,
// the echo handling, output batching, completion and the console's own commands. It follows the
// folder that its host's browser shows, and the browser follows the console's "cd". It reaches its
// host only through the three host interfaces, which outlive it.
//
// The host reports what happened (a folder shown, the browser gone, files dropped); each report is
// queued and handled on the console's window after the host's call has returned, never inside a call
// the console itself is making: a host in another process receives its events during every call the
// console makes to it. The host must not destroy the console inside one of its interface calls.
// Everything runs on the thread that made the window.
//
// The console shows the user's settings as its host applies them (`host` picks the defaults of a
// setting the user never set), and follows a change of them, or of Windows' colours, at once.
class ConsoleSession : private support::CWindowImpl {
public:
    ConsoleSession(HostBrowser& browser, HostFrame& frame, settings::HostKind host);
    ~ConsoleSession() override;
    ConsoleSession(const ConsoleSession&) = delete;
    ConsoleSession& operator=(const ConsoleSession&) = delete;

    // Creates the console's window, a child of the frame's parent window. An open console keeps its
    // window. False when the window could not be made.
    bool Open();
    // Starts an interpreter in the folder shown, unless one runs.
    void StartInterpreter();
    // The console's window, which the host places; null before Open and after Close.
    HWND Window() const noexcept { return GetHwnd(); }
    bool IsOpen() const noexcept { return GetHwnd() != nullptr; }

    // Shows the console and gives the text box the focus.
    void Show();
    // Ends the interpreter as "exit" would, then hides the console and empties its text.
    void Hide();
    // The host leaves: the interpreter ends and nothing of the console acts any more; the window stays.
    void StopServing();
    // Stops serving and destroys the window; nothing gathered or awaited reaches a later interpreter.
    void Close();

    // The host's reports, queued and handled in order on the console's window. The browser's end
    // is handled at once when it does not come during one of the console's calls to the host: the
    // console shows what it gathered and stops serving.
    void FolderShown();
    // The host answers for another browser now (a tab of the same window brought up): the folder
    // it shows is the user's choice, never the end of a navigation the console asked for.
    void OtherBrowserShown();
    void BrowserGone();
    void FilesDropped(std::vector<std::wstring> paths);

    // A keyboard message for the focused console, before it is dispatched; the console dispatches
    // what it does not act on itself. Always true: the host must not act on the key again.
    bool TranslateKey(MSG& message);
    // Moves the keyboard focus into the text box (or leaves it).
    void Activate(bool activate);
    // Whether the console's window or its text box has the keyboard focus.
    bool HasFocus() const;
    // The height of the console's window that shows one row of text in its font, in pixels: for a
    // host that sizes the console in rows. The frame is told when it changes.
    int RowHeight() const noexcept;

private:
    // The console window's own messages, timers and commands; the console's and the text box's lie elsewhere.
    static constexpr UINT HostReportsMessage = WM_APP + 0x20;  // posted: the host's reports wait
    static constexpr UINT ResumeMessage = WM_APP + 0x21;      // posted: work waited for a host call
    static constexpr UINT ShowSettingsMessage = WM_APP + 0x22;  // posted: the menu's "Settings..."
    static constexpr UINT_PTR ShowOutputTimer = 1;
    static constexpr UINT_PTR FollowFolderTimer = 2;  // checks whether a waiting folder change can go
    static constexpr UINT_PTR EchoWaitTimer = 4;      // part of what may be an echo waited long enough
    static constexpr WORD CompleteFileCommand = 500;  // Ctrl+Tab: complete from the folder's files
    // How often a folder change that waits for the interpreter looks whether it is free.
    static constexpr UINT FollowInterval = 250;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // A call out to the host: while one runs, the host's reports and the console's own timers and
    // notices wait, and are taken up once the outermost call has returned.
    class HostCall {
    public:
        explicit HostCall(ConsoleSession& session) noexcept;
        ~HostCall();
        HostCall(const HostCall&) = delete;
        HostCall& operator=(const HostCall&) = delete;

    private:
        ConsoleSession& session;
    };
    bool InHostCall() const noexcept { return hostCallDepth > 0; }
    // What arrived during a host call, taken up once the outermost one has returned.
    struct Deferred {
        bool output = false;
        bool ended = false;
        bool reports = false;
        bool keys = false;
        bool settingsChanged = false;
        bool settingsWindow = false;
        bool Any() const noexcept { return output || ended || reports || keys || settingsChanged || settingsWindow; }
    };
    void ResumeDeferred();
    void OnTimer(WPARAM timer);

    // The host's reports waiting to be handled. A folder shown and the browser gone are states, which
    // a report needs no memory to record; drops keep their order.
    struct HostReports {
        std::deque<std::vector<std::wstring>> drops;
        bool folderShown = false;
        bool otherBrowser = false;
        bool browserGone = false;
        bool Any() const noexcept { return !drops.empty() || folderShown || browserGone; }
    };
    void ReportsArrived();
    void HandleHostReports();

    // What the host gives, each through one host call.
    std::wstring FolderOrFallback(bool trailingBackslash);
    bool ShowsFileSystemFolder(std::wstring& folder);
    void ReportFocus(bool hasFocus);

    void LayOutTextBox();

    // The user's settings: the text box's looks and limits, the history's length, the saved history.
    void ApplySettings(const settings::ConsoleSettings& chosen);
    void SettingsChanged();
    void FollowSettings();
    void ReadSavedHistory();
    void KeepInSavedHistory(const std::wstring& line);
    // Writes one line of the console's own: alone before the interpreter's first prompt, else above the command line.
    void SayLine(const std::wstring& line);
    void ShowSettingsWindow();

    // Interpreter output, taken from the reader's queue and shown at most once a frame.
    void ShowQueuedOutput();
    void TakeQueuedOutput();
    void SayDroppedOutput(std::size_t dropped);
    void GatherOutput(const std::wstring& text, size_t from, size_t to);
    void ShowPendingOutput();
    void ShowOutputBatch();
    bool TrimBeforeShowing();
    bool ShowGatheredOutput();
    bool FillHeldBackOutput();
    void ScheduleOutputTurn();
    void ReleaseHeldBackEcho();
    void OnInterpreterEnded();

    // The interpreter's marked prompts: where it stands, whether it echoes, whose turn it is.
    void OnMarkedPrompt(const std::wstring& folder);
    void StartEchoCheck();
    void FinishEchoCheck();
    void AbandonEchoCheck();
    // `moved`: the interpreter stands elsewhere than at its prompt before.
    void FollowInterpreter(const std::wstring& folder, bool moved);
    // Whether the interpreter's last marked prompt stood in the folder.
    bool IsInterpreterFolder(const std::wstring& folder) const;
    // Writes a line to the interpreter's input, for whoever reads next.
    bool WriteLine(const std::wstring& line);
    // The interpreter waits at a marked prompt, and no line has been written for it since.
    bool AtMarkedPrompt();
    void StopFollowingMarks();

    // Keys and the command line.
    void HandleKey(MSG& message);
    void SubmitLine();
    void SendTypedLine(const std::wstring& line);
    void PasteLines(const std::wstring& text);
    void RecallOlder();
    void RecallNewer();
    void ShowPrompt();
    // Writes one line of the console's own, then a prompt and the command line again as it was.
    void SayAboveInput(const std::wstring& line);
    void ReplaceInput(const std::wstring& text);
    bool RunBuiltinCommand(const shellview::BuiltinCommand& command);
    void RunViewCommand(const shellview::BuiltinCommand& command);
    void NavigateFromConsole(const std::wstring& folder, bool switchesDrive);
    void FollowConsoleNavigation();
    // Moves the interpreter to the folder, or says why it cannot be moved there.
    void SendChangeDirectory(const std::wstring& folder);
    void ChangeToBrowserFolder(bool moveFocus);
    void WaitToChangeFolder();
    // Following the browser, the text box takes the focus where the host allows it.
    void TakeFocusIfAllowed();
    void FollowWhenIdle();
    // Whether the next line written to the interpreter would be read as input, not run: by a
    // program it runs, or by a command of its own at work ("set /p", "pause", a batch file).
    bool InterpreterReadsInput();
    // The folder the interpreter stands in, as its last marked prompt told; else the browser's.
    std::wstring InterpreterFolder();

    // Ctrl+C and Ctrl+Break send the console's signals; a second Ctrl+Break soon after the first
    // ends the console programs, and so does a signal that cannot be sent, each with a line saying so.
    void InterruptProgram(bool breakKey);
    void EndConsolePrograms(EndingReason reason);
    // Writes one line of the console's own among the output; the command line stays as it was.
    void SayAmongOutput(const std::wstring& line);

    // Name completion from the folder view (Tab) and from the file system (Ctrl+Tab).
    void CompleteFromView();
    void CompleteFromFileSystem();
    std::wstring InputUpToCaret(int caret) const;
    void ReplaceWordWithFound(const std::wstring& prefix, const std::wstring& word, const std::wstring& name,
                              const std::wstring& folder, BOOL quoted);
    std::vector<std::wstring> ViewNames();
    void EndCompletionCycle();

    // The browser's reports.
    void OnFolderShown();
    void OnBrowserGone();
    void InsertDroppedNames(const std::vector<std::wstring>& paths);

    // The word being completed: the cycle of this console only.
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

    HostBrowser& browser;
    HostFrame& frame;
    const settings::HostKind hostKind;
    settings::ConsoleSettings applied;
    // While the history is kept: the file shared by the user's consoles, read once per console.
    std::optional<settings::HistoryFile> savedHistory;
    bool savedHistoryRead = false;
    view::CEditWindow edit;
    console::ConsoleProcess console;
    ULONGLONG breakSentAt = 0;  // when Ctrl+Break was last sent; 0 once a second one can no longer follow
    shellview::FileNameSearch findHandle;  // the open search of a Ctrl+Tab cycle
    support::UniqueAccelerator accelTable;
    int completeIndex = 0;
    CompletionState completion;
    view::CommandHistory history;
    OutputBatcher pendingOutput;
    console::MarkedOutput takenOutput;  // swapped with the reader's queue, so neither side allocates anew
    EchoFilter echoes;
    // Whether the interpreter echoes the lines it reads: learnt from a line of the console's own at
    // its first marked prompt, whose answer is not shown.
    enum class Echo { Unknown, Checking, Echoes, Silent } echo = Echo::Unknown;
    std::wstring echoCheckOutput;
    std::optional<std::wstring> promptFolder;  // where the last marked prompt stood
    bool marksFollowed = false;  // the interpreter marks its prompts, and the user has not replaced them
    bool promptWaits = false;    // a marked prompt came, and no line has been written since
    HostReports reports;
    bool reportsPosted = false;
    std::deque<MSG> pendingKeys;  // keys that came during a host call, in their order
    int hostCallDepth = 0;
    Deferred deferred;
    bool navFromConsole = false;        // the next folder shown is the one the console's "cd" asked for
    bool consoleLeftTheDrive = false;   // the console's own "cd" named another drive without the switch
    bool folderChangeWaits = false;     // a folder was shown while the interpreter was at work
    bool interpreterAsksForALine = false;  // the last line run was a "set /p" or "pause" not yet answered
    // Hears a saved change of the settings and of Windows' colours, which only top-level windows get.
    // Declared last, so it goes first: no change reaches a console being destroyed.
    std::unique_ptr<settings::SettingsListener> settingsListener;
};

}  // namespace session
