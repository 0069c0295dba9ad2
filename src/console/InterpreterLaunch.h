#pragma once

#include "support/UniqueHandle.h"

#include <string>

namespace console {

// Starts the command interpreter in `directory`, in a console of its own that stays hidden,
// reading `input` and writing both its standard output and its standard error to `output`. It runs
// `firstCommand` ("cmd /k"), which is read as a typed line is (^ & % and quotation marks count),
// before it waits for commands. It inherits those two handles and nothing else, so a second
// interpreter started at the same moment never holds this one's pipes.
// The interpreter is in `job` (when given and the system allows it) before it runs, so every
// program it starts is in the job too.
// The interpreter is the one InterpreterPath chooses, and it runs `firstCommand` first. Returns the
// process handle, or an empty handle when the interpreter could not be started, with the last error
// of the step that failed: ERROR_FILE_NOT_FOUND when there is no interpreter to start,
// ERROR_INVALID_HANDLE without both handles.
support::UniqueHandle LaunchInterpreter(const wchar_t* directory, const std::wstring& firstCommand, HANDLE input,
                                        HANDLE output, HANDLE job);

}  // namespace console
