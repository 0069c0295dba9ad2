#pragma once

#include <windows.h>

#include <chrono>

namespace console {

// When the reader reads the interpreter's pipe again. An interpreter that prints in small writes
// (Wine's prints a few hundred bytes at a time) would otherwise have every write taken by a read of
// its own, and decoded and queued on its own: the reader's cost would grow with the number of writes,
// not with the text. While output streams in small reads, the reader lets the pipe gather a few
// milliseconds' worth before reading again. A read after a quiet spell is followed by no pause, so
// the next answer or prompt comes at once; nor is a read that filled much of the buffer, so a writer
// faster than the pauses never finds the pipe full.
class ReadPacing {
public:
    using Clock = std::chrono::steady_clock;

    // A read this soon after the one before belongs to the same stream of output.
    static constexpr std::chrono::milliseconds StreamGap{50};
    // How long the pipe gathers output between two small reads of a stream: far less than a frame of
    // the window, which shows output at most once in 33 ms, and a fraction of what the pipe holds
    // at any speed at which a writer still writes small pieces.
    static constexpr DWORD Pause = 5;

    explicit ReadPacing(DWORD bufferSize) noexcept : bufferSize(bufferSize) {}

    // Milliseconds to wait before the next read, after a read of `bytes` that returned at `now`.
    DWORD After(DWORD bytes, Clock::time_point now) noexcept;

private:
    const DWORD bufferSize;
    Clock::time_point lastRead{};
    bool readBefore = false;
};

}  // namespace console
