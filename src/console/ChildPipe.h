#pragma once

#include "support/UniqueHandle.h"

namespace console {

enum class ChildEnd { Reads, Writes };

// The buffer of the interpreter's output pipe. Output is held there while the window shows earlier
// output, so a program that prints fast keeps running instead of waiting for each append to the
// text box.
constexpr DWORD OutputPipeSize = 256 * 1024;
// The buffer of the interpreter's input pipe: larger than any line the interpreter takes (8,191
// characters, at most 4 bytes each), so that a line is always written whole at once.
constexpr DWORD InputPipeSize = 64 * 1024;

// An anonymous pipe between the host and the interpreter. The child's end is inheritable; the
// host's end is not, so the interpreter never holds its own pipe's far end.
struct ChildPipe {
    support::UniqueHandle childEnd;
    support::UniqueHandle parentEnd;
};

// Both ends are empty when the pipe could not be created. A buffer size of 0 is the system's default.
ChildPipe CreateChildPipe(ChildEnd childEnd, DWORD bufferSize = 0);

}  // namespace console
