#include "console/InterpreterPath.h"

#include "support/SystemFolder.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

namespace console {
namespace {

constexpr wchar_t InterpreterName[] = L"cmd.exe";

bool IsExistingFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// A drive's absolute path or a network path: nothing in it depends on a current folder.
bool IsFullPath(const std::wstring& path)
{
    if (path.size() < 3)
        return false;
    const bool fromDriveRoot = IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
    const bool network = path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
    return fromDriveRoot || network;
}

bool NamesTheInterpreter(const std::wstring& path)
{
    return ::CompareStringOrdinal(::PathFindFileNameW(path.c_str()), -1, InterpreterName, -1, TRUE) == CSTR_EQUAL;
}

std::wstring EnvironmentVariable(const wchar_t* name)
{
    std::vector<wchar_t> value(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length < value.size())
            return std::wstring(value.data(), length);
        value.resize(length);
    }
}

}  // namespace

std::optional<std::wstring> ChooseInterpreterPath(const std::wstring& systemFolder, const std::wstring& comSpec)
{
    if (!systemFolder.empty()) {
        const std::wstring inSystemFolder = systemFolder + L'\\' + InterpreterName;
        if (IsExistingFile(inSystemFolder))
            return inSystemFolder;
    }
    if (IsFullPath(comSpec) && NamesTheInterpreter(comSpec) && IsExistingFile(comSpec))
        return comSpec;
    return std::nullopt;
}

std::optional<std::wstring> InterpreterPath()
{
    return ChooseInterpreterPath(support::SystemFolder(), EnvironmentVariable(L"ComSpec"));
}

}  // namespace console
