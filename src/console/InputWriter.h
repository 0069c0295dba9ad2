#pragma once

#include "support/CriticalSection.h"
#include "support/UniqueHandle.h"

#include <deque>
#include <memory>
#include <string>

namespace console {

// The lines on their way to the interpreter's input. The window's thread queues them; a writer
// thread of their own writes them in order, so the window never waits for the interpreter to read.
// The writer hands over one line at a time: the next only once the one before has been read from
// the pipe. Wine's interpreter drops whatever follows the first line of one read, and one line in
// the pipe is also what a console gives: whoever reads next, the interpreter at its prompt, a
// batch file's "set /p" or a program, gets the lines one by one, in order.
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
    // Whether a line is queued or being written.
    bool IsWaiting();
    // In the writer: waits for a queued line and takes it; false once the queue is closed.
    bool TakeNext(std::string& taken);
    // In the writer: the line taken is written.
    void Written() noexcept;
    bool IsClosed();

private:
    support::CriticalSection lock;
    support::UniqueHandle wake;  // set while lines are queued or the queue is closed
    std::deque<std::string> queued;
    bool writing = false;
    bool closed = false;
};

// Bytes written to the pipe whose read end is `readEnd` and not read yet; 0 when it cannot be told.
DWORD UnreadBytes(HANDLE readEnd) noexcept;

// Starts the thread that writes what `queue` receives to the interpreter's input, each line once
// the pipe is empty, which it learns from `readEnd`, its own handle to the interpreter's end. The
// thread owns both; a failed write (the interpreter is gone) closes the queue.
// Returns an empty handle when the thread could not be started.
support::UniqueHandle StartInputWriter(std::shared_ptr<InputQueue> queue, support::UniqueHandle writeEnd,
                                       support::UniqueHandle readEnd);

}  // namespace console
