#pragma once

#include "support/CriticalSection.h"
#include "support/UniqueHandle.h"

#include <deque>
#include <memory>
#include <string>

namespace console {

// The lines on their way to the interpreter's input. The window's thread queues them; a writer
// thread of their own writes them in order, so the window never waits for the interpreter to read.
class InputQueue {
public:
    InputQueue();
    InputQueue(const InputQueue&) = delete;
    InputQueue& operator=(const InputQueue&) = delete;

    bool IsUsable() const noexcept { return lock.IsInitialised() && wake; }
    // Queues bytes behind everything queued before; false once the queue is closed.
    bool Push(std::string bytes);
    // No more writing: what is still queued is dropped and the writer leaves its wait.
    void Close() noexcept;
    // In the writer: waits for queued bytes and takes them all; false once the queue is closed.
    bool TakeAll(std::deque<std::string>& taken);

private:
    support::CriticalSection lock;
    support::UniqueHandle wake;  // set while bytes are queued or the queue is closed
    std::deque<std::string> queued;
    bool closed = false;
};

// Starts the thread that writes what `queue` receives to the interpreter's input. The thread owns
// the write end; a failed write (the interpreter is gone) closes the queue.
// Returns an empty handle when the thread could not be started.
support::UniqueHandle StartInputWriter(std::shared_ptr<InputQueue> queue, support::UniqueHandle writeEnd);

}  // namespace console
