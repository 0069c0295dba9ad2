#pragma once

#include <windows.h>

namespace shellview {

// Flags of NormalizeForMatch; the view commands pass both, to the pattern list and to every name.
constexpr DWORD MATCH_LOWERCASE = 1;
constexpr DWORD MATCH_HALFWIDTH = 2;

// Room for one pattern list, terminator included; a longer list keeps only what fits.
constexpr int PATTERN_LIST_CAPACITY = MAX_PATH;

// Folds the text in place so that letter case and full-width digits and signs do not matter.
// The length never changes. Always TRUE.
BOOL NormalizeForMatch(wchar_t* text, DWORD flags);

// Matches one name against one pattern without recursion or allocation. A pattern with "*" or "?"
// must cover the whole name, as in the shell's own searches: "*" takes any run of characters,
// none included, and "?" exactly one, so "*.jpg" never takes "holiday.jpg.exe". A pattern without
// them may occur anywhere in the name. The empty pattern and the empty name match nothing.
BOOL MatchWildcard(const wchar_t* name, const wchar_t* pattern);

// TRUE when any pattern of the list matches; patterns are separated by single spaces and tried
// in order.
BOOL MatchPatternList(const wchar_t* name, const wchar_t* list);

}  // namespace shellview
