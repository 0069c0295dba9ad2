#include "FolderPath.h"

#include "support/UniqueHandle.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwctype>
#include <vector>

namespace standin {
namespace {

std::optional<std::wstring> FullPath(const std::wstring& path, const std::wstring& base)
{
    std::wstring combined = path;
    if (::PathIsRelativeW(path.c_str())) {
        if (base.empty())
            return std::nullopt;
        combined = base + (base.back() == L'\\' ? L"" : L"\\") + path;
    }
    const DWORD size = ::GetFullPathNameW(combined.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return std::nullopt;
    std::vector<wchar_t> buffer(size + 1);
    const DWORD length = ::GetFullPathNameW(combined.c_str(), size + 1, buffer.data(), nullptr);
    if (length == 0 || length > size)
        return std::nullopt;
    return std::wstring(buffer.data(), length);
}

// Offset of the first component after the root: 3 for "C:\", past the share for "\\server\share\".
size_t RootLength(const std::wstring& path)
{
    const wchar_t* afterRoot = ::PathSkipRootW(path.c_str());
    return afterRoot ? static_cast<size_t>(afterRoot - path.c_str()) : 0;
}

std::wstring WithFileSystemSpelling(const std::wstring& path)
{
    const size_t rootLength = RootLength(path);
    std::wstring result = path.substr(0, rootLength);
    if (result.size() >= 2 && result[1] == L':')
        result[0] = static_cast<wchar_t>(std::towupper(result[0]));
    size_t start = rootLength;
    while (start < path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring component = path.substr(start, end - start);
        WIN32_FIND_DATAW found = {};
        support::UniqueFindHandle search(::FindFirstFileW((result + component).c_str(), &found));
        if (search)
            component = found.cFileName;
        result += component;
        if (end < path.size())
            result += L'\\';
        start = end + 1;
    }
    return result;
}

}  // namespace

std::optional<std::wstring> ExistingFolder(const std::wstring& path, const std::wstring& base)
{
    if (path.empty())
        return std::nullopt;
    std::optional<std::wstring> full = FullPath(path, base);
    if (!full || !::PathIsDirectoryW(full->c_str()))
        return std::nullopt;
    std::vector<wchar_t> trimmed(full->begin(), full->end());
    trimmed.push_back(L'\0');
    ::PathRemoveBackslashW(trimmed.data());
    return WithFileSystemSpelling(trimmed.data());
}

}  // namespace standin
