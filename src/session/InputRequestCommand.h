#pragma once

#include <string>

namespace session {

// Whether the line, run at the interpreter's prompt, makes the interpreter itself read the next
// line of its input: "pause" and "set /p". Only a line that is that one command is recognised; a
// line joining commands or reading from a file is not, and counts as not waiting.
bool RequestsALineOfInput(const std::wstring& line);

}  // namespace session
