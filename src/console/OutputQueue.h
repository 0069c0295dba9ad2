#pragma once

#include "console/MarkedOutput.h"
#include "support/CriticalSection.h"
#include "support/UniqueHandle.h"

#include <cstddef>

namespace console {

// The interpreter's output on its way to the window: its text and, at their places in it, the
// prompts the interpreter reached. The reader appends each chunk and tells the window only when no
// notice is outstanding; the window takes everything queued at once, whenever it has room to show
// it. A reader that gets ahead of the window waits once Bound characters are queued (a prompt's
// folder counts as much as its characters): what is held stays bounded, and the interpreter waits
// on its full pipe.
class OutputQueue {
public:
    // One full batch of the window's (64K characters, 128 KB): one take fills the next append, and
    // the window never holds more than about two batches, all of which a key shows at once.
    static constexpr std::size_t Bound = 64 * 1024;

    enum class Pushed { Queued, QueuedTellWindow, Closed };

    OutputQueue();
    OutputQueue(const OutputQueue&) = delete;
    OutputQueue& operator=(const OutputQueue&) = delete;

    bool IsUsable() const noexcept { return lock.IsInitialised() && room; }
    // In the reader: waits while Bound characters or more are queued, then queues `piece` behind
    // everything before. QueuedTellWindow when the window has no notice outstanding and must be
    // told; Closed, with nothing queued, once the queue is closed.
    Pushed Push(const MarkedOutput& piece);
    // In the window: swaps everything queued into `taken` (which is expected empty) and lets the
    // reader go on; the next Push tells the window again. False when nothing was queued.
    bool Take(MarkedOutput& taken);
    // Nothing more reaches the window: what is queued is dropped and a waiting reader returns.
    void Close() noexcept;

private:
    support::CriticalSection lock;
    support::UniqueHandle room;  // set while fewer than Bound characters are queued, or closed
    MarkedOutput queued;
    std::size_t queuedCharacters = 0;
    bool noticeOutstanding = false;
    bool closed = false;
};

}  // namespace console
