#include "session/RefusalText.h"

#include "console/ExactEncoding.h"

namespace session {
namespace {

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

// Each character of the text that the code page cannot carry, once, in order of appearance.
std::wstring MissingCharacters(const std::wstring& text, UINT codePage)
{
    std::wstring missing;
    for (std::wstring::size_type i = 0; i < text.size(); ++i) {
        const std::wstring::size_type length = IsHighSurrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
        const std::wstring character = text.substr(i, length);
        if (!console::CarriesExactly(character, codePage) && missing.find(character) == std::wstring::npos)
            missing += character;
        i += length - 1;
    }
    return missing;
}

std::wstring CodePageName(UINT codePage)
{
    return L"code page " + std::to_wstring(codePage);
}

// What keeps the text from reaching the interpreter as it is.
std::wstring Obstacle(const std::wstring& text, UINT codePage)
{
    const std::wstring missing = MissingCharacters(text, codePage);
    std::wstring obstacle;
    if (!missing.empty())
        obstacle = L"the console's " + CodePageName(codePage) + L" lacks \"" + missing + L"\"";
    if (text.find(L'%') != std::wstring::npos)
        obstacle += std::wstring(obstacle.empty() ? L"" : L" and ") + L"the interpreter would expand its \"%\"";
    return obstacle;
}

}  // namespace

std::wstring FolderRefusal(const std::wstring& folder, UINT codePage)
{
    return L"The console cannot enter \"" + folder + L"\": " + Obstacle(folder, codePage) +
           L", and the folder has no short name that would do. The console stays where it was.";
}

std::wstring LineRefusal(const std::wstring& line, UINT codePage)
{
    return L"Not sent: the console's " + CodePageName(codePage) + L" lacks \"" + MissingCharacters(line, codePage) +
           L"\". Short names (dir /x) or chcp 65001 can help.";
}

std::wstring NameRefusal(const std::wstring& path, UINT codePage)
{
    return L"Not put on the console's command line: \"" + path + L"\" cannot be written for the interpreter: " + Obstacle(path, codePage) +
           L", and it has no short name that would do.";
}

}  // namespace session
