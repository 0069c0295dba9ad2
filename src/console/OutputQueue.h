#pragma once

#include "console/MarkedOutput.h"
#include "support/CriticalSection.h"

#include <cstddef>

namespace console {

// The interpreter's output on its way to the window: its text and, at their places in it, the
// prompts the interpreter reached. The reader appends each chunk and tells the window only when no
// notice is outstanding; the window takes everything queued at once, whenever it is ready to show it.
// The reader never waits for the window: a window that falls behind by more than the bound gets only
// the newest text, with the count of what was left out before it (the oldest text, which the text
// box's scrollback would drop anyway). Every prompt reaches the window, in order.
class OutputQueue {
public:
    // As many characters as the text box keeps by default.
    static constexpr std::size_t Bound = 1000000;

    enum class Pushed { Queued, QueuedTellWindow, Closed };

    explicit OutputQueue(std::size_t bound = Bound) noexcept : bound(bound) {}
    OutputQueue(const OutputQueue&) = delete;
    OutputQueue& operator=(const OutputQueue&) = delete;

    bool IsUsable() const noexcept { return lock.IsInitialised(); }
    // In the reader: queues `piece` behind everything before, then leaves out the oldest text once
    // more than the bound is queued (an eighth more, so that leaving out text stays rare).
    // QueuedTellWindow when the window has no notice outstanding and must be told; Closed, with
    // nothing queued, once the queue is closed.
    Pushed Push(const MarkedOutput& piece);
    // In the window: swaps everything queued into `taken` (which is expected empty); the next Push
    // tells the window again. False when nothing was queued.
    bool Take(MarkedOutput& taken);
    // Nothing more reaches the window: what is queued is dropped.
    void Close() noexcept;

private:
    support::CriticalSection lock;
    const std::size_t bound;
    MarkedOutput queued;
    bool noticeOutstanding = false;
    bool closed = false;
};

}  // namespace console
