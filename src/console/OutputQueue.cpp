#include "console/OutputQueue.h"

#include <utility>

namespace console {
namespace {

std::size_t CharactersIn(const MarkedOutput& piece)
{
    std::size_t characters = piece.text.size();
    for (const MarkedPrompt& prompt : piece.prompts)
        characters += prompt.folder.size();
    return characters;
}

}  // namespace

OutputQueue::OutputQueue() : room(::CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

OutputQueue::Pushed OutputQueue::Push(const MarkedOutput& piece)
{
    if (::WaitForSingleObject(room.Get(), INFINITE) != WAIT_OBJECT_0)
        return Pushed::Closed;
    const support::CriticalSectionGuard guard(lock);
    if (closed)
        return Pushed::Closed;
    // Only the reader pushes, and taking only makes room: the room seen above is still there.
    queued.Append(piece);
    queuedCharacters += CharactersIn(piece);
    if (queuedCharacters >= Bound)
        ::ResetEvent(room.Get());
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
    queuedCharacters = 0;
    ::SetEvent(room.Get());
    return true;
}

void OutputQueue::Close() noexcept
{
    const support::CriticalSectionGuard guard(lock);
    closed = true;
    queued.Clear();
    queuedCharacters = 0;
    ::SetEvent(room.Get());
}

}  // namespace console
