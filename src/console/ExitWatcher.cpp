#include "console/ExitWatcher.h"

#include "support/AppMessages.h"
#include "console/WorkerThread.h"

#include <utility>

namespace console {
namespace {

struct WatcherContext {
    std::shared_ptr<WorkerLink> link;
    support::UniqueHandle stopEvent;
    support::UniqueHandle process;
};

support::UniqueHandle DuplicateForThisProcess(HANDLE handle)
{
    support::UniqueHandle copy;
    const HANDLE self = ::GetCurrentProcess();
    if (handle)
        ::DuplicateHandle(self, handle, self, copy.Receive(), 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

DWORD WatchUntilEnd(const WatcherContext& context)
{
    WorkerLink& link = *context.link;
    // The stop event comes first: when both are signalled, the wait reports the event, so an
    // interpreter terminated by Stop is never reported as having ended by itself.
    const HANDLE handles[2] = {context.stopEvent.Get(), context.process.Get()};
    while (link.running) {
        const DWORD result = ::WaitForMultipleObjects(2, handles, FALSE, 1);
        if (result == WAIT_FAILED)
            return 1;
        if (result == WAIT_OBJECT_0 + 1) {
            link.running = false;
            if (!link.stopping)
                ::SendMessageW(link.notifyWindow, WM_APP_EXITED, 0, 0);
        }
    }
    return 0;
}

}  // namespace

support::UniqueHandle StartExitWatcher(std::shared_ptr<WorkerLink> link, HANDLE stopEvent, HANDLE process)
{
    auto context = std::make_shared<WatcherContext>(
        WatcherContext{std::move(link), DuplicateForThisProcess(stopEvent), DuplicateForThisProcess(process)});
    return StartWorkerThread([context] { return WatchUntilEnd(*context); });
}

}  // namespace console
