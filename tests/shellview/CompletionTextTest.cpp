#include "shellview/CompletionText.h"

#include <gtest/gtest.h>

using namespace shellview;

namespace {

struct WordCase {
    const wchar_t* text;
    int start;
    bool quoted;
};

TEST(FindWordStart, FindsTheWordAfterTheLastUnquotedSpace)
{
    const WordCase cases[] = {
        {L"", 0, false},
        {L"type", 0, false},
        {L"type re", 5, false},
        {L"type ", 5, false},
        {L" re", 1, false},
        {L"copy a\tb", 5, false},
        {L"type \"my d", 5, true},
        {L"type \"my docs\\re", 5, true},
        {L"copy \"a b\" c", 11, true},
        {L"copy \"a b\"c d", 12, true},
        {L"\"x\"", 0, true},
    };
    for (const WordCase& c : cases) {
        BOOL quoted = !c.quoted;
        EXPECT_EQ(c.start, FindWordStart(c.text, quoted)) << std::string(c.text, c.text + wcslen(c.text));
        EXPECT_EQ(c.quoted, quoted != FALSE) << std::string(c.text, c.text + wcslen(c.text));
    }
}

TEST(CompletionText, BaseAndQuotingFollowTheTypedWord)
{
    EXPECT_EQ(L"my d", CompletionBase(L"\"My D"));
    EXPECT_EQ(L"\xC4rger", CompletionBase(L"\xC4rger"));

    EXPECT_TRUE(NameStartsWithBase(L"Readme.txt", L"re"));
    EXPECT_TRUE(NameStartsWithBase(L"Zeta", L""));
    EXPECT_FALSE(NameStartsWithBase(L"Re", L"rea"));
    EXPECT_FALSE(NameStartsWithBase(L"\xC4rger", L"\xE4r"));

    EXPECT_EQ(L"report.doc", QuoteCandidate(L"report.doc", FALSE));
    EXPECT_EQ(L"\"My Documents\"", QuoteCandidate(L"My Documents", FALSE));
    EXPECT_EQ(L"\"Zeta\"", QuoteCandidate(L"Zeta", TRUE));
    // Every character the interpreter treats specially quotes the name, as its own completion does.
    for (const wchar_t special : std::wstring(L"&()[]{}^=;!'+,`~")) {
        const std::wstring name = std::wstring(L"a") + special + L"b.txt";
        EXPECT_EQ(L"\"" + name + L"\"", QuoteCandidate(name, FALSE)) << name;
    }
    EXPECT_EQ(L"caf\xe9-\x65e5.txt", QuoteCandidate(L"caf\xe9-\x65e5.txt", FALSE));

    EXPECT_EQ(L"D:\\Work\\my d*", FileSearchPattern(L"D:\\Work\\", L"\"my d"));
    EXPECT_EQ(L"D:\\Work\\*", FileSearchPattern(L"D:\\Work\\", L""));
}

}  // namespace
