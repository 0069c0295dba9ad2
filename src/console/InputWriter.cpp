#include "console/InputWriter.h"

#include "console/WorkerThread.h"

#include <utility>

namespace console {
namespace {

// How often the writer looks whether the line before has been read.
constexpr DWORD DrainPoll = 5;

struct WriterContext {
    std::shared_ptr<InputQueue> queue;
    support::UniqueHandle writeEnd;
    support::UniqueHandle readEnd;
};

bool WriteAll(HANDLE pipe, const std::string& bytes)
{
    DWORD written = 0;
    return ::WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// Waits until what was written before has been read; false when the queue closed meanwhile.
bool WaitUntilRead(const WriterContext& context)
{
    while (UnreadBytes(context.readEnd.Get()) > 0) {
        if (context.queue->IsClosed())
            return false;
        ::Sleep(DrainPoll);
    }
    return true;
}

DWORD WriteUntilClosed(const WriterContext& context)
{
    std::string line;
    while (context.queue->TakeNext(line)) {
        if (!WaitUntilRead(context) || !WriteAll(context.writeEnd.Get(), line)) {
            context.queue->Close();
            return 0;
        }
        context.queue->Written();
    }
    return 0;
}

}  // namespace

InputQueue::InputQueue() : wake(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

bool InputQueue::Push(std::string bytes)
{
    const support::CriticalSectionGuard guard(lock);
    if (closed)
        return false;
    queued.push_back(std::move(bytes));
    ::SetEvent(wake.Get());
    return true;
}

void InputQueue::Close() noexcept
{
    const support::CriticalSectionGuard guard(lock);
    closed = true;
    queued.clear();
    ::SetEvent(wake.Get());
}

bool InputQueue::IsWaiting()
{
    const support::CriticalSectionGuard guard(lock);
    return !closed && (writing || !queued.empty());
}

bool InputQueue::IsClosed()
{
    const support::CriticalSectionGuard guard(lock);
    return closed;
}

bool InputQueue::TakeNext(std::string& taken)
{
    if (::WaitForSingleObject(wake.Get(), INFINITE) != WAIT_OBJECT_0)
        return false;
    const support::CriticalSectionGuard guard(lock);
    if (closed)
        return false;
    taken = std::move(queued.front());
    queued.pop_front();
    writing = true;
    if (queued.empty())
        ::ResetEvent(wake.Get());
    return true;
}

void InputQueue::Written() noexcept
{
    const support::CriticalSectionGuard guard(lock);
    writing = false;
}

DWORD UnreadBytes(HANDLE readEnd) noexcept
{
    DWORD available = 0;
    if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
        return 0;
    return available;
}

support::UniqueHandle StartInputWriter(std::shared_ptr<InputQueue> queue, support::UniqueHandle writeEnd,
                                       support::UniqueHandle readEnd)
{
    auto context = std::make_shared<WriterContext>(
        WriterContext{std::move(queue), std::move(writeEnd), std::move(readEnd)});
    return StartWorkerThread([context] { return WriteUntilClosed(*context); });
}

}  // namespace console
