#include "ThisProgram.h"

#include <windows.h>
#include <shellapi.h>

namespace standin {

std::vector<std::wstring> ThisProgramArguments()
{
    int count = 0;
    wchar_t** raw = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; raw && i < count; ++i)
        arguments.emplace_back(raw[i]);
    ::LocalFree(raw);
    return arguments;
}

std::wstring ThisProgramPath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

}  // namespace standin
