#pragma once

#include "console/OutputQueue.h"
#include "console/PromptMarks.h"
#include "console/WorkerLink.h"
#include "support/UniqueHandle.h"

#include <memory>

namespace console {

// Starts a thread that reads the interpreter's output from its pipe as fast as it comes and queues
// each read's wide text, without the prompt `marks` and with the prompts they tell, on `output`,
// posting OutputWaitingMessage to the window when the window has no notice outstanding. The thread
// never waits for the window, nor the interpreter for it. The thread owns the read end; it ends when
// the pipe breaks or the queue is closed.
// Returns an empty handle when the thread could not be started.
support::UniqueHandle StartReaderThread(std::shared_ptr<WorkerLink> link, std::shared_ptr<OutputQueue> output,
                                        support::UniqueHandle readEnd, const PromptMarks& marks);

}  // namespace console
