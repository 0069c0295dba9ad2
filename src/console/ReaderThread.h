#pragma once

#include "console/WorkerLink.h"
#include "support/UniqueHandle.h"

#include <memory>

namespace console {

// Starts a thread that reads the interpreter's output from its pipe in chunks of at most 512 bytes
// and sends each chunk's wide text to the window with WM_APP_STDOUT. The thread owns the read end.
// Returns an empty handle when the thread could not be started.
support::UniqueHandle StartReaderThread(std::shared_ptr<WorkerLink> link, support::UniqueHandle readEnd);

}  // namespace console
