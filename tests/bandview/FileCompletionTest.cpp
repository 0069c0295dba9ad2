#include "ConsoleBand.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using bandview::ConsoleBand;
using bandview::ScratchFolder;

// Ctrl+Tab completes from the folder's entries on disk, whatever the view shows.
class FileCompletion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.Exists());
        folder.File(L"rea1.txt");
        folder.File(L"other.txt");
        ASSERT_TRUE(console.Open(folder.Path()));
        // Made after the view was filled: only the search on disk can find it.
        folder.File(L"rea2.txt");
    }

    ScratchFolder folder;
    ConsoleBand console;
};

TEST_F(FileCompletion, OffersEachEntryOfTheFolderThenReturnsToTheFirst)
{
    console.Type(L"type REA");
    console.PressCtrlTab();
    const std::wstring first = console.Input();
    console.PressCtrlTab();
    const std::wstring second = console.Input();
    console.PressCtrlTab();
    const std::wstring third = console.Input();

    const std::set<std::wstring> offered = {first, second};
    const std::set<std::wstring> expected = {L"type rea1.txt", L"type rea2.txt"};
    EXPECT_EQ(expected, offered);
    EXPECT_EQ(first, third);
    EXPECT_TRUE(console.OutputUnchanged()) << "completion sends nothing to the interpreter";
}

TEST_F(FileCompletion, WordWithoutMatchChangesNothingAndLeavesNoSearchOpen)
{
    console.Type(L"type qq");
    console.PressCtrlTab();
    EXPECT_EQ(L"type qq", console.Input());

    folder.File(L"qqa.txt");
    console.PressCtrlTab();
    EXPECT_EQ(L"type qqa.txt", console.Input());
}

TEST_F(FileCompletion, EditingWhileASearchIsOpenMakesTheNextPressSearchTheEditedWord)
{
    folder.File(L"bx.txt");
    console.Type(L"type rea");
    console.PressCtrlTab();
    const std::wstring completed = console.Input();
    ASSERT_EQ(0u, completed.find(L"type rea"));

    console.Type(L" b");
    console.PressCtrlTab();
    EXPECT_EQ(completed + L" b", console.Input()) << "the press right after editing changes nothing";
    console.PressCtrlTab();
    EXPECT_EQ(completed + L" bx.txt", console.Input());
}

TEST_F(FileCompletion, WordWithAFolderPartBecomesTheBareNameOfAnEntryThere)
{
    folder.Folder(L"Inner");
    folder.File(L"Inner\\report.txt");
    console.Type(L"type inner\\re");
    console.PressCtrlTab();
    EXPECT_EQ(L"type report.txt", console.Input());
}

TEST_F(FileCompletion, NameWithASpaceIsQuoted)
{
    folder.File(L"my notes.txt");
    console.Type(L"notepad my");
    console.PressCtrlTab();
    EXPECT_EQ(L"notepad \"my notes.txt\"", console.Input());
}

}  // namespace
