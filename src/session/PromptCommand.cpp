#include "session/PromptCommand.h"

#include <windows.h>

#include <cwctype>

namespace session {
namespace {

std::wstring Lowered(std::wstring text)
{
    for (wchar_t& character : text)
        character = static_cast<wchar_t>(std::towlower(character));
    return text;
}

bool IsBlank(wchar_t character)
{
    return character == L' ' || character == L'\t' || character == L'@' || character == L'(';
}

// One command of a chain, lower-cased, without what leads it ("@", blanks, an opening parenthesis).
bool CommandReplacesThePrompt(const std::wstring& command)
{
    size_t at = 0;
    while (at < command.size() && IsBlank(command[at]))
        ++at;
    const std::wstring rest = command.substr(at);
    const auto startsWithWord = [&](const wchar_t* word) {
        const size_t length = std::wcslen(word);
        return rest.compare(0, length, word) == 0 && (rest.size() == length || !std::iswalnum(rest[length]));
    };
    if (startsWithWord(L"prompt"))
        return true;
    if (startsWithWord(L"set")) {
        size_t name = 3;
        while (name < rest.size() && (rest[name] == L' ' || rest[name] == L'\t' || rest[name] == L'"'))
            ++name;
        return rest.compare(name, 7, L"prompt=") == 0;
    }
    if (startsWithWord(L"echo")) {
        size_t word = 4;
        while (word < rest.size() && (rest[word] == L' ' || rest[word] == L'\t'))
            ++word;
        return rest.compare(word, 3, L"off") == 0 && (rest.size() == word + 3 || !std::iswalnum(rest[word + 3]));
    }
    return false;
}

}  // namespace

bool ReplacesThePrompt(const std::wstring& line)
{
    const std::wstring lowered = Lowered(line);
    size_t start = 0;
    for (;;) {
        const size_t end = lowered.find_first_of(L"&|", start);
        if (CommandReplacesThePrompt(lowered.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start)))
            return true;
        if (end == std::wstring::npos)
            return false;
        start = end + 1;
    }
}

}  // namespace session
