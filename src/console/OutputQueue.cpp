#include "console/OutputQueue.h"

#include <utility>

namespace console {

OutputQueue::Pushed OutputQueue::Push(const MarkedOutput& piece)
{
    const support::CriticalSectionGuard guard(lock);
    if (closed)
        return Pushed::Closed;
    queued.Append(piece);
    if (queued.text.size() > bound + bound / 8)
        queued.KeepNewest(bound);
    return std::exchange(noticeOutstanding, true) ? Pushed::Queued : Pushed::QueuedTellWindow;
}

bool OutputQueue::Take(MarkedOutput& taken)
{
    const support::CriticalSectionGuard guard(lock);
    noticeOutstanding = false;
    if (queued.Empty())
        return false;
    std::swap(taken, queued);
    queued.Clear();
    return true;
}

void OutputQueue::Close() noexcept
{
    const support::CriticalSectionGuard guard(lock);
    closed = true;
    queued.Clear();
}

}  // namespace console
