#include "shellview/CompletionText.h"

#include "shellview/CommandText.h"
#include "support/CommandLineQuoting.h"

namespace shellview {

int FindWordStart(const std::wstring& text, BOOL& quoted)
{
    quoted = FALSE;
    bool insideQuotes = false;
    int start = 0;
    for (std::wstring::size_type i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (insideQuotes) {
            insideQuotes = c != L'"';
        } else if (c == L' ') {
            start = static_cast<int>(i) + 1;
        } else if (c == L'"') {
            insideQuotes = true;
            quoted = TRUE;
        }
    }
    return start;
}

std::wstring CompletionBase(const std::wstring& word)
{
    return LowerAsciiLetters(RemoveQuotes(word));
}

bool NameStartsWithBase(const wchar_t* name, const std::wstring& base)
{
    // Runs for every item of the view on each Tab, so nothing is copied.
    for (const wchar_t b : base) {
        if (*name == L'\0' || LowerAsciiLetter(*name) != b)
            return false;
        ++name;
    }
    return true;
}

std::wstring QuoteCandidate(const std::wstring& name, BOOL quoted)
{
    return support::QuotedWhenNeeded(name, quoted != FALSE);
}

std::wstring FileSearchPattern(const std::wstring& folder, const std::wstring& word)
{
    return RemoveQuotes(folder + word + L'*');
}

}  // namespace shellview
