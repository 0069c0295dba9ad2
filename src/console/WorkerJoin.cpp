#include "console/WorkerJoin.h"

namespace console {
namespace {

constexpr DWORD CancelInterval = 50;
constexpr ULONGLONG JoinBound = 3000;

void ProcessSentMessages()
{
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool WaitForEnd(HANDLE thread)
{
    const ULONGLONG deadline = ::GetTickCount64() + JoinBound;
    while (::GetTickCount64() < deadline) {
        const DWORD result = ::MsgWaitForMultipleObjectsEx(1, &thread, CancelInterval, QS_SENDMESSAGE, 0);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result == WAIT_OBJECT_0 + 1)
            ProcessSentMessages();
        else if (result == WAIT_TIMEOUT)
            // Repeated, because the worker may have been just about to enter the read at the last attempt.
            ::CancelSynchronousIo(thread);
        else
            return false;
    }
    return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

}  // namespace

bool JoinWorker(support::UniqueHandle& thread)
{
    if (!thread)
        return true;
    const bool ended = WaitForEnd(thread.Get());
    thread.Reset();
    return ended;
}

}  // namespace console
