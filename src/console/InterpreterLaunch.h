#pragma once

#include "support/UniqueHandle.h"

namespace console {

// Starts the command interpreter without arguments in `directory`, in a console of its own that
// stays hidden, with the three given handles as its standard handles. It inherits those three and
// nothing else, so a second interpreter started at the same moment never holds this one's pipes.
// Returns the process handle, or an empty handle when the interpreter could not be started.
support::UniqueHandle LaunchInterpreter(const wchar_t* directory, HANDLE input, HANDLE output, HANDLE error);

}  // namespace console
