#include "console/WorkerThread.h"

#include "support/ModulePin.h"

#include <memory>
#include <new>
#include <utility>

namespace console {
namespace {

struct PinnedWork {
    std::function<DWORD()> work;
    HMODULE pinned;
};

// Everything the thread owns is gone when this returns, before the module is let go.
DWORD RunAndRelease(std::unique_ptr<PinnedWork> pinnedWork)
{
    try {
        return pinnedWork->work();
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

DWORD WINAPI WorkerMain(void* parameter)
{
    auto* pinnedWork = static_cast<PinnedWork*>(parameter);
    const HMODULE pinned = pinnedWork->pinned;
    const DWORD result = RunAndRelease(std::unique_ptr<PinnedWork>(pinnedWork));
    support::ExitThreadReleasing(pinned, result);
}

}  // namespace

support::UniqueHandle StartWorkerThread(std::function<DWORD()> work)
{
    auto pinnedWork = std::make_unique<PinnedWork>(PinnedWork{std::move(work), support::PinCodeModule()});
    support::UniqueHandle thread(::CreateThread(nullptr, 0, WorkerMain, pinnedWork.get(), 0, nullptr));
    if (thread)
        pinnedWork.release();
    else if (pinnedWork->pinned != nullptr)
        ::FreeLibrary(pinnedWork->pinned);
    return thread;
}

}  // namespace console
