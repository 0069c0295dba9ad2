#include "session/SpelledPath.h"

#include "console/ExactEncoding.h"

namespace session {
namespace {

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

// The interpreter's file operations need paths shorter than MAX_PATH.
bool Usable(const std::wstring& path, UINT codePage)
{
    return path.size() < MAX_PATH && ReachesInterpreterUnchanged(path, codePage);
}

}  // namespace

bool ReachesInterpreterUnchanged(const std::wstring& text, UINT codePage)
{
    return text.find(L'%') == std::wstring::npos && console::CarriesExactly(text, codePage);
}

std::wstring LastPart(const std::wstring& path)
{
    const std::wstring::size_type separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::optional<std::wstring> SpelledPath(const std::wstring& path, UINT codePage)
{
    if (Usable(path, codePage))
        return path;
    const std::wstring shortPath = ShortPath(path);
    const std::wstring::size_type separator = LastSeparator(path);
    if (!shortPath.empty() && separator != std::wstring::npos) {
        const std::wstring shortLast = path.substr(0, separator + 1) + LastPart(shortPath);
        if (Usable(shortLast, codePage))
            return shortLast;
    }
    if (!shortPath.empty() && Usable(shortPath, codePage))
        return shortPath;
    // Too long for some commands, but exact: better the path itself than none.
    if (ReachesInterpreterUnchanged(path, codePage))
        return path;
    return std::nullopt;
}

std::optional<std::wstring> SpelledName(const std::wstring& folder, const std::wstring& name, UINT codePage)
{
    if (Usable(folder + name, codePage))
        return name;
    const auto spelled = SpelledPath(folder + name, codePage);
    if (!spelled)
        return std::nullopt;
    return LastPart(*spelled);
}

}  // namespace session
