#include "server/HostRestriction.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>

namespace server {

bool IsRefusedHost(const wchar_t* hostPath)
{
    std::wstring lowered(hostPath);
    if (lowered.empty())
        return false;
    ::CharLowerBuffW(&lowered[0], static_cast<DWORD>(lowered.size()));
    return ::StrStrW(lowered.c_str(), L"iexplore.exe") != nullptr;
}

bool IsRefusedHostProcess()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return IsRefusedHost(path);
}

}  // namespace server
