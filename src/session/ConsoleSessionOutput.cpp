#include "session/ConsoleSession.h"

#include "console/ConsoleMessages.h"

#include <algorithm>

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

// The reader has ended: everything the interpreter wrote is queued, and its newest part is shown
// before its end; what the text box holds back is laid out after.
void ConsoleSession::OnInterpreterEnded()
{
    TakeQueuedOutput();
    ReleaseHeldBackEcho();
    ShowPendingOutput();
    const HostCall call(*this);
    browser.InterpreterEnded();
}

// The reader's notice: output is taken and shown at the next frame, at once when the last show was
// a frame ago. The reader queues on meanwhile, and tells again only after the next take, so a flood
// does not keep the window busy with notices ahead of the user's keys and the text box's drawing.
void ConsoleSession::ShowQueuedOutput()
{
    const DWORD wait = pendingOutput.Wait(OutputBatcher::Clock());
    if (wait == 0)
        ShowOutputBatch();
    else
        ::SetTimer(GetHwnd(), ShowOutputTimer, wait, nullptr);
}

// Moves everything the reader queued into the batcher, without showing it, and takes up each marked
// prompt in its place: the output before it first. Output the reader left out, because the window
// fell too far behind, came before all of it and is said where it was; the prompts it held stand at
// the start of what is taken.
void ConsoleSession::TakeQueuedOutput()
{
    takenOutput.Clear();
    if (!console.TakeOutput(takenOutput))
        return;
    if (takenOutput.dropped > 0)
        SayDroppedOutput(takenOutput.dropped);
    size_t from = 0;
    for (const console::MarkedPrompt& prompt : takenOutput.prompts) {
        GatherOutput(takenOutput.text, from, prompt.offset);
        from = prompt.offset;
        OnMarkedPrompt(prompt.folder);
    }
    GatherOutput(takenOutput.text, from, takenOutput.text.size());
}

// Everything gathered before goes ahead of the line that says what was left out. An echo check
// under way may have lost its answer with it: what it gathered is output, and the next prompt asks again.
void ConsoleSession::SayDroppedOutput(std::size_t dropped)
{
    if (echo == Echo::Checking)
        AbandonEchoCheck();
    ReleaseHeldBackEcho();
    ShowGatheredOutput();
    edit.SayDropped(dropped);
}

// Output goes in front of the command line, gathered until it is shown, without the echoes of
// submitted lines. The answer to the console's own echo check is not shown.
void ConsoleSession::GatherOutput(const std::wstring& text, size_t from, size_t to)
{
    if (from >= to)
        return;
    if (echo == Echo::Checking) {
        echoCheckOutput.append(text, from, to - from);
        if (echoCheckOutput.size() > EchoCheckBound)
            AbandonEchoCheck();
        return;
    }
    const std::wstring& shown = echoes.Filter(text.c_str() + from, to - from);
    if (echoes.HasHeldBack())
        ::SetTimer(GetHwnd(), EchoWaitTimer, EchoWait, nullptr);
    pendingOutput.Add(shown.c_str());
}

void ConsoleSession::ReleaseHeldBackEcho()
{
    ::KillTimer(GetHwnd(), EchoWaitTimer);
    if (echoes.HasHeldBack())
        pendingOutput.Add(echoes.ReleaseHeldBack().c_str());
}

// Shows the newest output at once, for the keys and events that act on the text box as it stands:
// its newest part is laid out now, what the text box holds back of it after.
void ConsoleSession::ShowPendingOutput()
{
    TakeQueuedOutput();
    if (ShowGatheredOutput())
        ScheduleOutputTurn();
}

// One turn of the output, at most once a frame: what the reader queued is shown, its newest part
// laid out now; in a turn with nothing new, a slice of what the text box held back is laid out.
// Trimming the scrollback costs about as much as laying text out, so it takes a turn of its own.
// A turn draws the text box before it ends, so that its cost is counted whole.
void ConsoleSession::ShowOutputBatch()
{
    ::KillTimer(GetHwnd(), ShowOutputTimer);
    TakeQueuedOutput();
    if (pendingOutput.HasPending() && TrimBeforeShowing()) {
        ::SetTimer(GetHwnd(), ShowOutputTimer, USER_TIMER_MINIMUM, nullptr);
        return;
    }
    if (ShowGatheredOutput() || FillHeldBackOutput())
        ScheduleOutputTurn();
}

bool ConsoleSession::TrimBeforeShowing()
{
    const std::size_t shown = std::min(pendingOutput.TakeSize(), pendingOutput.PendingLength());
    return edit.TrimScrollbackFor(static_cast<int>(shown));
}

// Shows everything gathered; false when nothing was.
bool ConsoleSession::ShowGatheredOutput()
{
    if (!pendingOutput.HasPending())
        return false;
    const std::wstring gathered = pendingOutput.Take();
    const std::size_t budget = pendingOutput.TakeSize();
    const DWORD started = OutputBatcher::Clock();
    const std::size_t laidOut = edit.ShowOutput(gathered, budget);
    ::UpdateWindow(edit.GetHwnd());
    pendingOutput.Shown(started, OutputBatcher::Clock(), laidOut, gathered.size() > budget);
    return true;
}

// Lays out a slice of what the text box held back; false when it holds nothing back.
bool ConsoleSession::FillHeldBackOutput()
{
    if (!edit.HoldsBack())
        return false;
    const DWORD started = OutputBatcher::Clock();
    const std::size_t laidOut = edit.FillHeldBack(pendingOutput.TakeSize());
    ::UpdateWindow(edit.GetHwnd());
    pendingOutput.Shown(started, OutputBatcher::Clock(), laidOut, false);
    return true;
}

// The next turn comes when output waits or the text box still holds some back.
void ConsoleSession::ScheduleOutputTurn()
{
    if (edit.HoldsBack())
        ::SetTimer(GetHwnd(), ShowOutputTimer, std::max<DWORD>(pendingOutput.Wait(OutputBatcher::Clock()), USER_TIMER_MINIMUM),
                   nullptr);
}

}  // namespace session
