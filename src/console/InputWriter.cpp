#include "console/InputWriter.h"

#include "console/WorkerThread.h"

#include <utility>

namespace console {
namespace {

struct WriterContext {
    std::shared_ptr<InputQueue> queue;
    support::UniqueHandle writeEnd;
};

bool WriteAll(HANDLE pipe, const std::string& bytes)
{
    DWORD written = 0;
    return ::WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

DWORD WriteUntilClosed(const WriterContext& context)
{
    std::deque<std::string> taken;
    while (context.queue->TakeAll(taken)) {
        for (const std::string& bytes : taken) {
            if (!WriteAll(context.writeEnd.Get(), bytes)) {
                context.queue->Close();
                return 0;
            }
        }
        taken.clear();
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

bool InputQueue::TakeAll(std::deque<std::string>& taken)
{
    if (::WaitForSingleObject(wake.Get(), INFINITE) != WAIT_OBJECT_0)
        return false;
    const support::CriticalSectionGuard guard(lock);
    if (closed)
        return false;
    taken.swap(queued);
    ::ResetEvent(wake.Get());
    return true;
}

support::UniqueHandle StartInputWriter(std::shared_ptr<InputQueue> queue, support::UniqueHandle writeEnd)
{
    auto context = std::make_shared<WriterContext>(WriterContext{std::move(queue), std::move(writeEnd)});
    return StartWorkerThread([context] { return WriteUntilClosed(*context); });
}

}  // namespace console
