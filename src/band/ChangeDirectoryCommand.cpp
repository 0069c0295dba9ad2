#include "band/ChangeDirectoryCommand.h"

#include <windows.h>
#include <shlwapi.h>

namespace band {

int DriveOf(const std::wstring& path)
{
    return ::PathGetDriveNumberW(path.c_str());
}

std::wstring ChangeDirectoryCommand(const std::wstring& path)
{
    return L"cd /d \"" + path + L"\"\r\n";
}

}  // namespace band
