#include "shellview/FileNameSearch.h"

#include "shellview/CompletionText.h"
#include "TestFolderView.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace shellview;
using namespace testing_shellview;

namespace {

TEST(FileNameSearch, OffersEveryEntryAndStartsAgainAfterTheLast)
{
    const TempFolder folder;
    folder.File(L"report.doc");
    folder.File(L"Readme.txt");
    folder.Folder(L"Results");
    folder.File(L"zeta.txt");

    FileNameSearch search;
    std::vector<std::wstring> names;
    std::optional<std::wstring> name = search.Start(FileSearchPattern(folder.Path() + L"\\", L"RE"));
    for (int press = 0; name && press < 6; ++press) {
        names.push_back(*name);
        name = search.Next();
    }
    ASSERT_EQ(6u, names.size());
    EXPECT_TRUE(search.IsOpen());
    // The first round offers each entry once, in the file system's order; the second repeats it.
    std::vector<std::wstring> firstRound(names.begin(), names.begin() + 3);
    EXPECT_EQ(firstRound, std::vector<std::wstring>(names.begin() + 3, names.end()));
    std::sort(firstRound.begin(), firstRound.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Readme.txt", L"Results", L"report.doc"}), firstRound);

    search.Close();
    EXPECT_FALSE(search.IsOpen());
    EXPECT_FALSE(search.Next());
}

TEST(FileNameSearch, FindsNothingAndKeepsNoSearchOpen)
{
    const TempFolder folder;
    folder.File(L"report.doc");
    FileNameSearch search;
    ASSERT_TRUE(search.Start(folder.Path() + L"\\rep*"));
    EXPECT_FALSE(search.Start(folder.Path() + L"\\zz*"));
    EXPECT_FALSE(search.IsOpen());
    // The pattern of a word whose folder only the interpreter knows.
    ASSERT_TRUE(search.Start(folder.Path() + L"\\rep*"));
    EXPECT_FALSE(search.Start(L""));
    EXPECT_FALSE(search.IsOpen());
    EXPECT_FALSE(search.Next());
}

TEST(FileNameSearch, WordWithDirectoryPartSearchesTheSubfolder)
{
    const TempFolder folder;
    folder.Folder(L"sub");
    folder.File(L"sub\\Results 2006.txt");
    FileNameSearch search;
    EXPECT_EQ(L"Results 2006.txt",
              search.Start(FileSearchPattern(folder.Path() + L"\\", L"\"sub\\re")).value_or(L""));
    // A single entry: the next press offers it again.
    EXPECT_EQ(L"Results 2006.txt", search.Next().value_or(L""));
    EXPECT_EQ(L"Results 2006.txt", search.Start(FileSearchPattern(folder.Path() + L"\\", L"sub/re")).value_or(L""));
}

}  // namespace
