#include "session/RefusalText.h"

#include "console/ExactEncoding.h"
#include "session/SpelledPath.h"
#include "support/SystemMessage.h"

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

// What keeps the text from reaching the interpreter as it is, on its line.
std::wstring Obstacle(const std::wstring& text, UINT codePage, Line line)
{
    const std::wstring missing = MissingCharacters(text, codePage);
    std::wstring obstacle;
    if (!missing.empty())
        obstacle = L"the console's " + CodePageName(codePage) + L" lacks \"" + missing + L"\"";
    if (PercentCanPair(text, line))
        obstacle += std::wstring(obstacle.empty() ? L"" : L" and ") + L"the interpreter would expand its \"%\"";
    return obstacle;
}

}  // namespace

std::wstring FolderRefusal(const std::wstring& folder, UINT codePage)
{
    return L"The console cannot enter \"" + folder + L"\": " + Obstacle(folder, codePage, Line::Own) +
           L", and the folder has no short name that would do. The console stays where it was.";
}

std::wstring LineRefusal(const std::wstring& line, UINT codePage)
{
    return L"Not sent: the console's " + CodePageName(codePage) + L" lacks \"" + MissingCharacters(line, codePage) +
           L"\". Short names (dir /x) or chcp 65001 can help.";
}

std::wstring NameRefusal(const std::wstring& path, UINT codePage)
{
    return L"Not put on the console's command line: \"" + path + L"\" cannot be written for the interpreter: " + Obstacle(path, codePage, Line::Typed) +
           L", and it has no short name that would do.";
}

std::wstring StartRefusal(DWORD error, const std::wstring& folder)
{
    std::wstring reason;
    if (error == ERROR_FILE_NOT_FOUND)
        reason = L"there is no cmd.exe in the system folder, and %ComSpec% names none";
    else if (error == ERROR_DIRECTORY)
        reason = L"the folder \"" + folder + L"\" does not exist";
    else
        reason = support::SystemMessage(error);
    return L"The console could not start cmd.exe: " + reason + L". It starts again when the window shows another folder.";
}

}  // namespace session
