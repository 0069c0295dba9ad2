#include "shellview/FileNameSearch.h"

namespace shellview {

std::optional<std::wstring> FileNameSearch::Start(const std::wstring& searchPattern)
{
    pattern = searchPattern;
    WIN32_FIND_DATAW entry = {};
    handle.Reset(::FindFirstFileW(pattern.c_str(), &entry));
    if (!handle)
        return std::nullopt;
    return std::wstring(entry.cFileName);
}

std::optional<std::wstring> FileNameSearch::Next()
{
    if (!handle)
        return std::nullopt;
    WIN32_FIND_DATAW entry = {};
    if (::FindNextFileW(handle.Get(), &entry))
        return std::wstring(entry.cFileName);
    return Start(pattern);
}

bool FileNameSearch::IsOpen() const
{
    return handle.IsHeld();
}

void FileNameSearch::Close()
{
    handle.Reset();
}

}  // namespace shellview
