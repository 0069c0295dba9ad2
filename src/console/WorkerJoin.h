#pragma once

#include "support/UniqueHandle.h"

namespace console {

// Waits for a worker thread to end and closes its handle. While waiting, messages sent to this
// thread are processed (the exit watcher may be telling a window of this thread that the
// interpreter ended) and a read the worker is blocked in is cancelled (a program started from the
// interpreter may hold the pipe open).
// A worker that has still not ended after a bounded time is left to end by itself; it owns all it uses.
// Returns whether the worker ended.
bool JoinWorker(support::UniqueHandle& thread);

}  // namespace console
