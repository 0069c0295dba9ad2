#include "session/ChangeDirectoryCommand.h"

#include <windows.h>
#include <shlwapi.h>

namespace session {

int DriveOf(const std::wstring& path)
{
    return ::PathGetDriveNumberW(path.c_str());
}

std::wstring ChangeDirectoryCommand(const std::wstring& path)
{
    return L"cd /d \"" + path + L"\"";
}

}  // namespace session
