#pragma once
// What the main job's sessions look for in a console's text and in the folder they show, and how
// they write what they saw; the band's session in the stand-in and the companion's session
// (tools/CompanionDemo) alike.
#include "support/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace standin {

// How often part occurs in text, without overlaps.
inline size_t CountOf(const std::wstring& text, const std::wstring& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

inline bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The first subfolder of the folder by name; empty when it has none.
inline std::wstring FirstSubfolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found = {};
    const support::UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    std::vector<std::wstring> names;
    if (!search)
        return std::wstring();
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search.Get(), &found));
    return names.empty() ? std::wstring() : *std::min_element(names.begin(), names.end());
}

// Text to standard output or error (which: STD_OUTPUT_HANDLE, STD_ERROR_HANDLE) as UTF-8, so that
// the main job's log shows every name as the console did.
inline void WriteToHandle(DWORD which, const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], size, nullptr,
                          nullptr);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(which), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace standin
