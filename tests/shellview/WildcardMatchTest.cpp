#include "shellview/WildcardMatch.h"

#include <gtest/gtest.h>

#include <string>

using namespace shellview;

namespace {

std::wstring Normalized(std::wstring text)
{
    NormalizeForMatch(&text[0], MATCH_LOWERCASE | MATCH_HALFWIDTH);
    return text;
}

enum class Matcher { Single, List };

struct MatchCase {
    Matcher matcher;
    const wchar_t* pattern;
    const wchar_t* name;
    bool matches;
};

// The matcher's answers are part of the commands' behaviour: a pattern with a wildcard covers the
// whole name, a star takes any run of characters (none included) and a question mark exactly one;
// a pattern without either may occur anywhere in the name.
const MatchCase MATCH_CASES[] = {
    {Matcher::Single, L"*.txt", L"a.txt", true},
    {Matcher::Single, L"*.txt", L"a.txt.bak", false},
    {Matcher::Single, L"*.jpg", L"holiday.jpg.exe", false},
    {Matcher::Single, L"*.jpg", L"holiday.jpg", true},
    {Matcher::Single, L"*.txt", L"a.txt.txt", true},
    {Matcher::Single, L"*.txt", L"txt", false},
    {Matcher::Single, L"*.txt", L".txt", true},
    {Matcher::Single, L"abc*", L"abc", true},
    {Matcher::Single, L"abc*", L"abcd", true},
    {Matcher::Single, L"abc*", L"xabcd", false},
    {Matcher::Single, L"report*", L"report", true},
    {Matcher::Single, L"*report*", L"report", true},
    {Matcher::Single, L"a**b", L"ab", true},
    {Matcher::Single, L"*", L"Quarterly Report.xlsx", true},
    {Matcher::Single, L"**", L"x", true},
    {Matcher::Single, L"*", L"", false},
    {Matcher::Single, L"?", L"a", true},
    {Matcher::Single, L"?", L"ab", false},
    {Matcher::Single, L"a?z", L"abz", true},
    {Matcher::Single, L"a?z", L"az", false},
    {Matcher::Single, L"a?z", L"abzd", false},
    {Matcher::Single, L"a?z", L"ab", false},
    {Matcher::Single, L"*?", L"a", true},
    {Matcher::Single, L"?*?", L"a", false},
    {Matcher::Single, L"*ab", L"aab", true},
    {Matcher::Single, L"*aab", L"aaab", true},
    {Matcher::Single, L"*.txt", L"report..txt", true},
    {Matcher::Single, L"*ss.txt", L"glasss.txt", true},
    {Matcher::Single, L"a*b*c", L"aXbYbZc", true},
    {Matcher::Single, L"a*b*c", L"aXbYcZ", false},
    {Matcher::Single, L"a*b?d", L"abbxd", true},
    {Matcher::Single, L"*ab", L"aac", false},
    {Matcher::Single, L"x*ab", L"aab", false},
    {Matcher::Single, L"a*b", L"abc", false},
    {Matcher::Single, L"a*b", L"acb", true},
    {Matcher::Single, L"a*b", L"abcb", true},
    {Matcher::Single, L"rep", L"report.doc", true},
    {Matcher::Single, L"rep", L"prep.txt", true},
    {Matcher::Single, L"README", L"readme.md", true},
    {Matcher::Single, L"", L"a.txt", false},
    {Matcher::Single, L"b?t", L"abtx", false},
    {Matcher::List, L"*.doc *.xls", L"x.xls", true},
    {Matcher::List, L"*.doc  *.xls", L"x.xls", true},
    {Matcher::List, L"*.doc *.xls", L"x.docx", false},
    {Matcher::List, L"*.doc report", L"old report.txt", true},
    {Matcher::List, L"\xFF12\xFF10\xFF10\xFF16", L"report2006.txt", true},
    {Matcher::List, L"*\xFF12\xFF10\xFF10\xFF16", L"report2006", true},
    {Matcher::List, L"*.doc\x3000*.xls", L"x.xls", true},
    {Matcher::List, L"*.doc *.xls", L"x.ppt", false},
    {Matcher::List, L" *.txt", L"a.txt", true},
    {Matcher::List, L"*.doc ", L"a.txt", false},
    {Matcher::List, L"  ", L"a.txt", false},
};

TEST(WildcardMatch, AnswersEveryCaseOfTheTable)
{
    for (const MatchCase& c : MATCH_CASES) {
        const std::wstring pattern = Normalized(c.pattern);
        const std::wstring name = Normalized(c.name);
        const BOOL result = c.matcher == Matcher::Single ? MatchWildcard(name.c_str(), pattern.c_str())
                                                         : MatchPatternList(name.c_str(), pattern.c_str());
        EXPECT_EQ(c.matches, result != FALSE)
            << "pattern \"" << std::string(pattern.begin(), pattern.end()) << "\" name \""
            << std::string(name.begin(), name.end()) << "\"";
    }
}

TEST(WildcardMatch, NormalizationFoldsOnlyTheTableAndKeepsTheLength)
{
    std::wstring folded = L"\x3000\xFF11\xFF12\xFF13\xFF14\xFF15\xFF16\xFF17\xFF18\xFF19\xFF10"
                          L"\xFF5E\xFF0B\xFF0D\xFF08\xFF09";
    EXPECT_TRUE(NormalizeForMatch(&folded[0], MATCH_HALFWIDTH));
    EXPECT_EQ(L" 1234567890~+-()", folded);

    // Full-width letters, asterisk and question mark are not folded, nor is case without the flag.
    std::wstring kept = L"AB\xFF21\xFF0A\xFF1F";
    NormalizeForMatch(&kept[0], MATCH_HALFWIDTH);
    EXPECT_EQ(L"AB\xFF21\xFF0A\xFF1F", kept);

    std::wstring lowered = L"Report\xFF11.TXT";
    NormalizeForMatch(&lowered[0], MATCH_LOWERCASE);
    EXPECT_EQ(L"report\xFF11.txt", lowered);
}

TEST(WildcardMatch, PatternListLongerThanItsBufferKeepsOnlyTheHeadAndStaysInBounds)
{
    // The list buffer holds 259 characters: a pattern that starts beyond them is never tried.
    const std::wstring filler(250, L'q');
    const std::wstring list = filler + L" *.txt " + std::wstring(300, L'z') + L" *.doc";
    EXPECT_TRUE(MatchPatternList(L"a.txt", list.c_str()));
    EXPECT_FALSE(MatchPatternList(L"a.doc", list.c_str()));

    // A pattern cut by the end of the buffer is tried as cut.
    const std::wstring cut = std::wstring(255, L'q') + L" *.txt";
    EXPECT_TRUE(MatchPatternList(L"a.t", cut.c_str()));
}

}  // namespace
