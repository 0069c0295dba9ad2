#pragma once

#include <string>

namespace band {

// The line that moves the interpreter to `path`: "cd /d " when the path's drive differs from
// the drive the interpreter was last moved to, else "cd ". The path is quoted: a folder name may
// hold "&", "|" or ">", which the interpreter would otherwise run as commands of their own.
std::wstring ChangeDirectoryCommand(const std::wstring& path, int currentDrive);

// The drive number of a path, 0 for A: to 25 for Z:, -1 when it has no drive letter.
int DriveOf(const std::wstring& path);

}  // namespace band
