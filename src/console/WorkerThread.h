#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>

#include <functional>

namespace console {

// Starts a worker thread that runs `work` and then ends. The thread keeps the library that holds
// its code loaded until its last instruction: a worker abandoned by Stop may outlive every band.
// An allocation failure inside the work ends the thread with result 1. No thread when it could
// not be created.
support::UniqueHandle StartWorkerThread(std::function<DWORD()> work);

}  // namespace console
