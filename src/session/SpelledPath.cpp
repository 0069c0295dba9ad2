#include "session/SpelledPath.h"

#include "console/ExactEncoding.h"

#include <algorithm>

namespace session {
namespace {

// What of a path goes on the line: all of it, or its last part alone (the interpreter stands in the folder).
enum class Written { Whole, LastPart };

struct Spelling {
    UINT codePage;
    Line line;
    Written written;
};

std::wstring ShortPath(const std::wstring& path)
{
    const DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::wstring shortPath(size, L'\0');
    const DWORD length = ::GetShortPathNameW(path.c_str(), &shortPath[0], size);
    shortPath.resize(length < size ? length : 0);
    return shortPath;
}

// A drive root or a path without a backslash has no last part of its own to shorten.
std::wstring::size_type LastSeparator(const std::wstring& path)
{
    const std::wstring::size_type separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos || separator + 1 == path.size() ? std::wstring::npos : separator;
}

bool Reaches(const std::wstring& path, const Spelling& spelling)
{
    const std::wstring written = spelling.written == Written::LastPart ? LastPart(path) : path;
    return ReachesInterpreterUnchanged(written, spelling.codePage, spelling.line);
}

// The interpreter's file operations need paths shorter than MAX_PATH.
bool Usable(const std::wstring& path, const Spelling& spelling)
{
    return path.size() < MAX_PATH && Reaches(path, spelling);
}

std::optional<std::wstring> Spelled(const std::wstring& path, const Spelling& spelling)
{
    if (Usable(path, spelling))
        return path;
    const std::wstring shortPath = ShortPath(path);
    const std::wstring::size_type separator = LastSeparator(path);
    if (!shortPath.empty() && separator != std::wstring::npos) {
        const std::wstring shortLast = path.substr(0, separator + 1) + LastPart(shortPath);
        if (Usable(shortLast, spelling))
            return shortLast;
    }
    if (!shortPath.empty() && Usable(shortPath, spelling))
        return shortPath;
    // Too long for some commands, but exact: better the path itself than none.
    if (Reaches(path, spelling))
        return path;
    return std::nullopt;
}

}  // namespace

bool PercentCanPair(const std::wstring& text, Line line)
{
    const auto percents = std::count(text.begin(), text.end(), L'%');
    return percents >= (line == Line::Own ? 2 : 1);
}

bool ReachesInterpreterUnchanged(const std::wstring& text, UINT codePage, Line line)
{
    return !PercentCanPair(text, line) && console::CarriesExactly(text, codePage);
}

std::wstring LastPart(const std::wstring& path)
{
    const std::wstring::size_type separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::optional<std::wstring> SpelledPath(const std::wstring& path, UINT codePage, Line line)
{
    return Spelled(path, Spelling{codePage, line, Written::Whole});
}

std::optional<std::wstring> SpelledName(const std::wstring& folder, const std::wstring& name, UINT codePage)
{
    const auto spelled = Spelled(folder + name, Spelling{codePage, Line::Typed, Written::LastPart});
    if (!spelled)
        return std::nullopt;
    return LastPart(*spelled);
}

}  // namespace session
