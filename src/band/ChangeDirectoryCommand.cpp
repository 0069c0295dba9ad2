#include "band/ChangeDirectoryCommand.h"

#include <windows.h>
#include <shlwapi.h>

namespace band {

int DriveOf(const std::wstring& path)
{
    return ::PathGetDriveNumberW(path.c_str());
}

std::wstring ChangeDirectoryCommand(const std::wstring& path, int currentDrive)
{
    const int drive = DriveOf(path);
    const wchar_t* verb = (drive != -1 && drive != currentDrive) ? L"cd /d " : L"cd ";
    return verb + (L"\"" + path + L"\"\r\n");
}

}  // namespace band
