#include "session/InputRequestCommand.h"

#include <windows.h>

namespace session {
namespace {

bool IsBlank(wchar_t character) { return character == L' ' || character == L'\t'; }

// The command's name ends where its arguments, a switch or a redirection start.
bool EndsCommandName(wchar_t character)
{
    return IsBlank(character) || character == L'/' || character == L'>';
}

bool StartsWithWord(const std::wstring& text, size_t at, const wchar_t* word)
{
    const size_t length = ::lstrlenW(word);
    if (text.size() - at < length ||
        ::CompareStringOrdinal(text.c_str() + at, static_cast<int>(length), word, static_cast<int>(length), TRUE) !=
            CSTR_EQUAL)
        return false;
    return at + length == text.size() || EndsCommandName(text[at + length]);
}

size_t SkipBlanks(const std::wstring& text, size_t at)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

}  // namespace

bool RequestsALineOfInput(const std::wstring& line)
{
    if (line.find_first_of(L"&|<") != std::wstring::npos)
        return false;
    size_t at = SkipBlanks(line, 0);
    if (at < line.size() && line[at] == L'@')
        at = SkipBlanks(line, at + 1);
    if (StartsWithWord(line, at, L"pause"))
        return true;
    if (!StartsWithWord(line, at, L"set"))
        return false;
    at = SkipBlanks(line, at + 3);
    // Without a variable and its "=" the interpreter refuses the line and reads nothing.
    return StartsWithWord(line, at, L"/p") && line.find(L'=', at) != std::wstring::npos;
}

}  // namespace session
