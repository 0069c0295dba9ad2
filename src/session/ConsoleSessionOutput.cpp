#include "session/ConsoleSession.h"

#include "console/ConsoleMessages.h"

namespace session {
namespace {

// How long a part of what may be an echo waits for the rest before it is shown as output.
constexpr UINT EchoWait = 250;
// What the echo check may gather before it is taken for output after all: its answer is one line.
constexpr size_t EchoCheckBound = 4096;

}  // namespace

void ConsoleSession::OnTimer(WPARAM timer)
{
    switch (timer) {
    case ShowOutputTimer:
        ShowOutputBatch();
        break;
    case EchoWaitTimer:
        ReleaseHeldBackEcho();
        ShowOutputBatch();
        break;
    case FollowFolderTimer:
        FollowWhenIdle();
        break;
    case console::CodePageTimer:
        console.OnCodePageTimer(!InterpreterReadsInput());
        break;
    default:
        break;
    }
}

// The reader has ended: everything the interpreter wrote is queued, and shown before its end.
void ConsoleSession::OnInterpreterEnded()
{
    TakeQueuedOutput();
    ReleaseHeldBackEcho();
    ShowPendingOutput();
    const HostCall call(*this);
    browser.InterpreterEnded();
}

// The reader's notice: at most one append per message, so the window's thread is never held for
// long however fast output comes. What is left is shown on the timer.
void ConsoleSession::ShowQueuedOutput()
{
    // A full batcher takes nothing more: the reader waits, and what is gathered stays bounded.
    // Its timer is running; the notice is not repeated until the next take, so a flood does not
    // keep the window busy with notices ahead of the user's keys and the text box's drawing.
    if (!pendingOutput.IsFull() && TakeQueuedOutput())
        ShowOutputBatch();
}

// Moves everything the reader queued into the batcher, without appending, and takes up each marked
// prompt in its place: the output before it first. True when an append is due.
bool ConsoleSession::TakeQueuedOutput()
{
    takenOutput.Clear();
    if (!console.TakeOutput(takenOutput))
        return false;
    bool due = false;
    size_t from = 0;
    for (const console::MarkedPrompt& prompt : takenOutput.prompts) {
        due = GatherOutput(takenOutput.text, from, prompt.offset) || due;
        from = prompt.offset;
        OnMarkedPrompt(prompt.folder);
    }
    return GatherOutput(takenOutput.text, from, takenOutput.text.size()) || due;
}

// Output goes in front of the command line, in batches, without the echoes of submitted lines. The
// answer to the console's own echo check is not shown.
bool ConsoleSession::GatherOutput(const std::wstring& text, size_t from, size_t to)
{
    if (from >= to)
        return false;
    if (echo == Echo::Checking) {
        echoCheckOutput.append(text, from, to - from);
        if (echoCheckOutput.size() > EchoCheckBound)
            AbandonEchoCheck();
        return false;
    }
    const std::wstring& shown = echoes.Filter(text.c_str() + from, to - from);
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

void ConsoleSession::ReleaseHeldBackEcho()
{
    ::KillTimer(GetHwnd(), EchoWaitTimer);
    if (echoes.HasHeldBack())
        pendingOutput.Add(echoes.ReleaseHeldBack().c_str(), ::GetTickCount());
}

// Shows everything gathered, for the keys and events that act on the text box as it stands.
// Output still queued is only taken, so a flood never holds the window's thread here.
void ConsoleSession::ShowPendingOutput()
{
    while (pendingOutput.HasPending())
        AppendOutputBatch();
    ShowOutputBatch();
}

// Appends one batch, then takes what the reader queued meanwhile, which lets a waiting reader go on.
// Trimming the scrollback costs about as much as an append, so it takes the turn of the append.
// The next batch is due on the shortest timer when it is full or follows a trim: timers come after
// keys and drawing, so a flood is shown as fast as the text box takes it while the console still answers.
void ConsoleSession::ShowOutputBatch()
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

void ConsoleSession::AppendOutputBatch()
{
    ::KillTimer(GetHwnd(), ShowOutputTimer);
    const std::wstring batch = pendingOutput.Take();
    const DWORD started = ::GetTickCount();
    edit.InsertOutput(batch.c_str());
    pendingOutput.Shown(started, ::GetTickCount(), batch.size());
}

}  // namespace session
