#pragma once

#include "support/UniqueHandle.h"

namespace console {

enum class ChildEnd { Reads, Writes };

// An anonymous pipe of the system's default size between the host and the interpreter. The child's
// end is inheritable; the host's end is not, so the interpreter never holds its own pipe's far end.
struct ChildPipe {
    support::UniqueHandle childEnd;
    support::UniqueHandle parentEnd;
};

// Both ends are empty when the pipe could not be created.
ChildPipe CreateChildPipe(ChildEnd childEnd);

}  // namespace console
