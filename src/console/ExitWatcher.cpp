#include "console/ExitWatcher.h"

#include "console/ConsoleMessages.h"
#include "console/WorkerThread.h"

#include <utility>

namespace console {
namespace {

// How long the reader may take to empty the pipe after the interpreter ended. A program the
// interpreter started may hold the pipe open for good; its later output is not waited for.
constexpr DWORD OutputDrainBound = 2000;

struct WatcherContext {
    std::shared_ptr<WorkerLink> link;
    support::UniqueHandle stopEvent;
    support::UniqueHandle process;
    support::UniqueHandle outputReader;
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
    const WorkerLink& link = *context.link;
    // The stop event comes first: when both are signalled, the wait reports the event, so an
    // interpreter terminated by Stop is never reported as having ended by itself.
    const HANDLE ending[2] = {context.stopEvent.Get(), context.process.Get()};
    const DWORD ended = ::WaitForMultipleObjects(2, ending, FALSE, INFINITE);
    if (ended != WAIT_OBJECT_0 + 1)
        return ended == WAIT_OBJECT_0 ? 0 : 1;
    const HANDLE drained[2] = {context.stopEvent.Get(), context.outputReader.Get()};
    if (::WaitForMultipleObjects(2, drained, FALSE, OutputDrainBound) == WAIT_OBJECT_0 || link.stopping)
        return 0;
    ::SendMessageW(link.notifyWindow, InterpreterEndedMessage, 0, 0);
    return 0;
}

}  // namespace

support::UniqueHandle StartExitWatcher(std::shared_ptr<WorkerLink> link, HANDLE stopEvent, HANDLE process,
                                       HANDLE outputReader)
{
    auto context = std::make_shared<WatcherContext>(WatcherContext{std::move(link), DuplicateForThisProcess(stopEvent),
                                                                   DuplicateForThisProcess(process),
                                                                   DuplicateForThisProcess(outputReader)});
    return StartWorkerThread([context] { return WatchUntilEnd(*context); });
}

}  // namespace console
