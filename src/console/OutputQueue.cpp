#include "console/OutputQueue.h"

#include <utility>

namespace console {

OutputQueue::OutputQueue() : room(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

OutputQueue::Pushed OutputQueue::Push(const std::wstring& text)
{
    if (::WaitForSingleObject(room.Get(), INFINITE) != WAIT_OBJECT_0)
        return Pushed::Closed;
    const support::CriticalSectionGuard guard(lock);
    if (closed)
        return Pushed::Closed;
    // Only the reader pushes, and taking only makes room: the room seen above is still there.
    queued += text;
    if (queued.size() >= Bound)
        ::ResetEvent(room.Get());
    return std::exchange(noticeOutstanding, true) ? Pushed::Queued : Pushed::QueuedTellWindow;
}

bool OutputQueue::Take(std::wstring& taken)
{
    const support::CriticalSectionGuard guard(lock);
    noticeOutstanding = false;
    if (queued.empty())
        return false;
    taken.swap(queued);
    queued.clear();
    ::SetEvent(room.Get());
    return true;
}

void OutputQueue::Close() noexcept
{
    const support::CriticalSectionGuard guard(lock);
    closed = true;
    queued.clear();
    ::SetEvent(room.Get());
}

}  // namespace console
