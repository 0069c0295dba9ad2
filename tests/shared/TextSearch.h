#pragma once

#include <string>

namespace testsupport {

// How often part occurs in text, from position on, without overlaps.
inline size_t CountOf(const std::wstring& text, const std::wstring& part, size_t position = 0)
{
    size_t count = 0;
    for (size_t at = text.find(part, position); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

inline bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace testsupport
