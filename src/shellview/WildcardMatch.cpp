#include "shellview/WildcardMatch.h"

#include <shlwapi.h>

namespace shellview {
namespace {

struct Folding {
    wchar_t from;
    wchar_t to;
};

// Typed on a Japanese keyboard, digits, signs and the space often arrive in their full-width
// forms; the order of the pairs is part of the matcher's behaviour.
constexpr Folding HALFWIDTH_FOLDINGS[] = {
    {L'\x3000', L' '}, {L'\xFF11', L'1'}, {L'\xFF12', L'2'}, {L'\xFF13', L'3'},
    {L'\xFF14', L'4'}, {L'\xFF15', L'5'}, {L'\xFF16', L'6'}, {L'\xFF17', L'7'},
    {L'\xFF18', L'8'}, {L'\xFF19', L'9'}, {L'\xFF10', L'0'}, {L'\xFF5E', L'~'},
    {L'\xFF0B', L'+'}, {L'\xFF0D', L'-'}, {L'\xFF08', L'('}, {L'\xFF09', L')'},
};

void FoldToHalfWidth(wchar_t* text)
{
    for (wchar_t* c = text; *c != L'\0'; ++c) {
        for (const Folding& folding : HALFWIDTH_FOLDINGS) {
            if (*c == folding.from)
                *c = folding.to;
        }
    }
}

bool HasWildcard(const wchar_t* pattern)
{
    return ::StrChrW(pattern, L'*') != nullptr || ::StrChrW(pattern, L'?') != nullptr;
}

}  // namespace

BOOL NormalizeForMatch(wchar_t* text, DWORD flags)
{
    if (text == nullptr)
        return TRUE;
    if (flags & MATCH_LOWERCASE)
        ::CharLowerW(text);
    if (flags & MATCH_HALFWIDTH)
        FoldToHalfWidth(text);
    return TRUE;
}

BOOL MatchWildcard(const wchar_t* name, const wchar_t* pattern)
{
    if (!HasWildcard(pattern))
        return *pattern != L'\0' && ::StrStrW(name, pattern) != nullptr;
    if (*name == L'\0')
        return FALSE;

    const wchar_t* n = name;
    const wchar_t* p = pattern;
    // The one backtrack point: the rest of the pattern after the latest "*" (null before the
    // first "*") and the name position that "*" is tried from next. An earlier "*" never needs
    // another try: whatever the later one cannot take, widening the earlier one cannot fix.
    const wchar_t* resume = nullptr;
    const wchar_t* retry = nullptr;
    while (*n != L'\0') {
        if (*p == L'*') {
            p = ::CharNextW(p);
            resume = p;
            retry = n;
        } else if (*p != L'\0' && (*p == L'?' || *p == *n)) {
            n = ::CharNextW(n);
            p = ::CharNextW(p);
        } else if (resume != nullptr) {
            // The latest "*" takes one more character; the pattern after it tries again from there.
            retry = ::CharNextW(retry);
            n = retry;
            p = resume;
        } else {
            return FALSE;
        }
    }
    // The name is used up: only stars, which take nothing, may be left of the pattern.
    while (*p == L'*')
        p = ::CharNextW(p);
    return *p == L'\0';
}

BOOL MatchPatternList(const wchar_t* name, const wchar_t* list)
{
    if (::StrChrW(list, L' ') == nullptr)
        return MatchWildcard(name, list);

    wchar_t buffer[PATTERN_LIST_CAPACITY];
    ::lstrcpynW(buffer, list, PATTERN_LIST_CAPACITY);
    wchar_t* pattern = buffer;
    for (;;) {
        wchar_t* space = ::StrChrW(pattern, L' ');
        if (space == nullptr)
            return MatchWildcard(name, pattern);
        *space = L'\0';
        if (MatchWildcard(name, pattern))
            return TRUE;
        pattern = space + 1;
        if (*pattern == L'\0')
            return FALSE;
    }
}

}  // namespace shellview
