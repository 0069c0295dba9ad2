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
}

struct FolderWordCase {
    const wchar_t* word;
    const wchar_t* searchFolder;
    const wchar_t* pattern;
};

// The search looks where the interpreter, in D:\Work, finds what the word names.
TEST(CompletionText, FileSearchLooksInTheFolderTheWordNames)
{
    const FolderWordCase cases[] = {
        {L"", L"D:\\Work\\", L"D:\\Work\\*"},
        {L"\"my d", L"D:\\Work\\", L"D:\\Work\\my d*"},
        {L"inner\\re", L"D:\\Work\\inner\\", L"D:\\Work\\inner\\re*"},
        {L"inner/re", L"D:\\Work\\inner\\", L"D:\\Work\\inner\\re*"},
        {L"\"inner dir\"\\re", L"D:\\Work\\inner dir\\", L"D:\\Work\\inner dir\\re*"},
        {L"..\\re", L"D:\\Work\\..\\", L"D:\\Work\\..\\re*"},
        {L"inner\\", L"D:\\Work\\inner\\", L"D:\\Work\\inner\\*"},
        {L"C:\\Data\\re", L"C:\\Data\\", L"C:\\Data\\re*"},
        {L"c:/Data/re", L"c:\\Data\\", L"c:\\Data\\re*"},
        {L"\\Data\\re", L"D:\\Data\\", L"D:\\Data\\re*"},
        {L"\\\\server\\share\\re", L"\\\\server\\share\\", L"\\\\server\\share\\re*"},
        {L"d:re", L"D:\\Work\\", L"D:\\Work\\re*"},
        {L"D:inner\\re", L"D:\\Work\\inner\\", L"D:\\Work\\inner\\re*"},
        // Which folder is current on another drive only the interpreter knows.
        {L"C:re", L"", L""},
        {L"C:inner\\re", L"", L""},
    };
    for (const FolderWordCase& c : cases) {
        EXPECT_EQ(c.searchFolder, FileSearchFolder(L"D:\\Work\\", c.word)) << c.word;
        EXPECT_EQ(c.pattern, FileSearchPattern(L"D:\\Work\\", c.word)) << c.word;
    }
    EXPECT_EQ(L"\\\\server\\share\\Data\\re*", FileSearchPattern(L"\\\\server\\share\\Work\\", L"\\Data\\re"));
}

struct CompletedWordCase {
    const wchar_t* word;
    const wchar_t* name;
    bool quoted;
    const wchar_t* completed;
};

// The completed word names the item found, in the folder the typed word names: never an item of
// the same name in the current folder.
TEST(CompletionText, CompletedWordKeepsTheTypedFolderPart)
{
    const CompletedWordCase cases[] = {
        {L"re", L"report.txt", false, L"report.txt"},
        {L"", L"report.txt", false, L"report.txt"},
        {L"inner\\re", L"report.txt", false, L"inner\\report.txt"},
        {L"inner/re", L"report.txt", false, L"inner/report.txt"},
        {L"..\\re", L"report.txt", false, L"..\\report.txt"},
        {L"C:re", L"report.txt", false, L"C:report.txt"},
        {L"C:\\Data\\re", L"report.txt", false, L"C:\\Data\\report.txt"},
        {L"\\\\server\\share\\re", L"report.txt", false, L"\\\\server\\share\\report.txt"},
        {L"inner\\", L"report.txt", false, L"inner\\report.txt"},
        {L"inner\\re", L"my report.txt", false, L"\"inner\\my report.txt\""},
        {L"inner\\re", L"a&b.txt", false, L"\"inner\\a&b.txt\""},
        {L"inner\\re", L"REPORT~1.TXT", false, L"\"inner\\REPORT~1.TXT\""},
        {L"\"inner dir\\re", L"report.txt", true, L"\"inner dir\\report.txt\""},
        {L"\"inner dir\"\\re", L"report.txt", true, L"\"inner dir\\report.txt\""},
        {L"\"re", L"report.txt", true, L"\"report.txt\""},
        {L"inner\\re", L"report.txt", true, L"\"inner\\report.txt\""},
        // A folder part with a sign the interpreter acts on is quoted with the rest of the word.
        {L"a&b\\re", L"report.txt", false, L"\"a&b\\report.txt\""},
        // A word completed before completes again in the same folder.
        {L"\"inner dir\\report.txt\"", L"rest.txt", true, L"\"inner dir\\rest.txt\""},
    };
    for (const CompletedWordCase& c : cases) {
        EXPECT_EQ(c.completed, CompletedWord(c.word, c.name, c.quoted ? TRUE : FALSE))
            << c.word << " + " << c.name;
    }
}

}  // namespace
