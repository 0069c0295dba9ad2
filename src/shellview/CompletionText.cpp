#include "shellview/CompletionText.h"

#include "shellview/CommandText.h"
#include "support/CommandLineQuoting.h"

namespace shellview {
namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// "C:" at the start of the text: a drive, with its own current folder in the interpreter.
bool StartsWithDrive(const std::wstring& text)
{
    return text.size() >= 2 && text[1] == L':' &&
           ((text[0] >= L'A' && text[0] <= L'Z') || (text[0] >= L'a' && text[0] <= L'z'));
}

bool IsSameDrive(const std::wstring& path, const std::wstring& other)
{
    return StartsWithDrive(path) && StartsWithDrive(other) && LowerAsciiLetter(path[0]) == LowerAsciiLetter(other[0]);
}

// The root that a path starting with one backslash refers to: the folder's drive, or the
// "\\server\share" of a network folder.
std::wstring RootOf(const std::wstring& folder)
{
    if (StartsWithDrive(folder))
        return folder.substr(0, 2);
    const std::wstring::size_type server = folder.find(L'\\', 2);
    const std::wstring::size_type share = server == std::wstring::npos ? server : folder.find(L'\\', server + 1);
    return folder.substr(0, share);
}

std::wstring WithBackslashes(std::wstring path)
{
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    return path;
}

// The folder part (from TypedFolderPart) seen from `folder`: it may be absolute, start at the
// root, name the current folder of a drive, or lead down or up from `folder`.
std::wstring FolderNamedBy(const std::wstring& folder, const std::wstring& part)
{
    if (part.size() >= 2 && IsSeparator(part[0]) && IsSeparator(part[1]))
        return part;
    if (!part.empty() && IsSeparator(part[0]))
        return RootOf(folder) + part;
    if (!StartsWithDrive(part))
        return folder + part;
    if (part.size() > 2 && IsSeparator(part[2]))
        return part;
    if (IsSameDrive(part, folder))
        return folder + part.substr(2);
    return std::wstring();
}

}  // namespace

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

std::wstring TypedFolderPart(const std::wstring& word)
{
    const std::wstring unquoted = RemoveQuotes(word);
    const std::wstring::size_type separator = unquoted.find_last_of(L"\\/");
    if (separator != std::wstring::npos)
        return unquoted.substr(0, separator + 1);
    return StartsWithDrive(unquoted) ? unquoted.substr(0, 2) : std::wstring();
}

std::wstring FileSearchFolder(const std::wstring& folder, const std::wstring& word)
{
    return WithBackslashes(FolderNamedBy(folder, TypedFolderPart(word)));
}

std::wstring FileSearchPattern(const std::wstring& folder, const std::wstring& word)
{
    const std::wstring searched = FileSearchFolder(folder, word);
    if (searched.empty())
        return std::wstring();
    const std::wstring unquoted = RemoveQuotes(word);
    return searched + unquoted.substr(TypedFolderPart(unquoted).size()) + L'*';
}

std::wstring CompletedWord(const std::wstring& word, const std::wstring& name, BOOL quoted)
{
    return QuoteCandidate(TypedFolderPart(word) + name, quoted);
}

}  // namespace shellview
