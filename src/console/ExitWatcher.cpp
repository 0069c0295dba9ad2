#include "console/ExitWatcher.h"

#include "support/AppMessages.h"
#include "support/ModulePin.h"

#include <utility>

namespace console {
namespace {

struct WatcherContext {
    std::shared_ptr<WorkerLink> link;
    support::UniqueHandle stopEvent;
    support::UniqueHandle process;
    HMODULE pinned;
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

DWORD WatchAndRelease(std::unique_ptr<WatcherContext> context)
{
    return WatchUntilEnd(*context);
}

DWORD WINAPI WatcherMain(void* parameter)
{
    auto* context = static_cast<WatcherContext*>(parameter);
    const HMODULE pinned = context->pinned;
    const DWORD result = WatchAndRelease(std::unique_ptr<WatcherContext>(context));
    support::ExitThreadReleasing(pinned, result);
}

}  // namespace

support::UniqueHandle StartExitWatcher(std::shared_ptr<WorkerLink> link, HANDLE stopEvent, HANDLE process)
{
    auto context = std::make_unique<WatcherContext>(
        WatcherContext{std::move(link), DuplicateForThisProcess(stopEvent), DuplicateForThisProcess(process),
                       support::PinCodeModule()});
    support::UniqueHandle thread(::CreateThread(nullptr, 0, WatcherMain, context.get(), 0, nullptr));
    if (thread)
        context.release();
    else if (context->pinned != nullptr)
        ::FreeLibrary(context->pinned);
    return thread;
}

}  // namespace console
