#include "shellview/CommandText.h"

#include <algorithm>

namespace shellview {
namespace {

constexpr const wchar_t* WHITE_SPACE = L" \t\r\n\v\f";

}  // namespace

wchar_t LowerAsciiLetter(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring LowerAsciiLetters(std::wstring text)
{
    for (wchar_t& c : text)
        c = LowerAsciiLetter(c);
    return text;
}

std::wstring TrimWhiteSpace(const std::wstring& text)
{
    const std::wstring::size_type first = text.find_first_not_of(WHITE_SPACE);
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(WHITE_SPACE) - first + 1);
}

std::wstring RemoveQuotes(std::wstring text)
{
    text.erase(std::remove(text.begin(), text.end(), L'"'), text.end());
    return text;
}

}  // namespace shellview
