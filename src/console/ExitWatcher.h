#pragma once

#include "console/WorkerLink.h"
#include "support/UniqueHandle.h"

#include <memory>

namespace console {

// Starts the thread that notices an interpreter ending by itself and then sends InterpreterEndedMessage once,
// after the output reader has queued what the interpreter wrote. It works on its own duplicates
// of the stop event, the process handle and the reader's thread handle.
// Returns an empty handle when the thread could not be started.
support::UniqueHandle StartExitWatcher(std::shared_ptr<WorkerLink> link, HANDLE stopEvent, HANDLE process,
                                       HANDLE outputReader);

}  // namespace console
