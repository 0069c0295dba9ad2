#pragma once

#include <string>

namespace session {

// The line that moves the interpreter to `path`, without its line end. It always carries the drive switch, so every
// change of folder changes the drive too and no record of the interpreter's drive can go stale.
// The path is quoted: a folder name may hold "&", "|" or ">", which the interpreter would
// otherwise run as commands of their own.
std::wstring ChangeDirectoryCommand(const std::wstring& path);

// The drive number of a path, 0 for A: to 25 for Z:, -1 when it has no drive letter.
int DriveOf(const std::wstring& path);

}  // namespace session
