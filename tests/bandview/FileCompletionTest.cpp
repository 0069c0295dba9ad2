#include "ConsoleBand.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

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

TEST_F(FileCompletion, WordWithAFolderPartKeepsItAsTyped)
{
    folder.Folder(L"Inner");
    folder.File(L"Inner\\report.txt");
    folder.Folder(L"Inner Dir");
    folder.File(L"Inner Dir\\report.txt");
    // An entry of the same name here must never be what the completed command names.
    folder.File(L"report.txt");
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"type inner\\re", L"type inner\\report.txt"},
        {L"type inner/re", L"type inner/report.txt"},
        {L"type \"inner dir\\re", L"type \"inner dir\\report.txt\""},
    };
    for (const auto& typed : cases) {
        console.Press(VK_ESCAPE);
        console.Type(typed.first);
        // The first press after editing only ends the search still open; the one entry there is
        // offered again by every later press.
        console.PressCtrlTab();
        console.PressCtrlTab();
        EXPECT_EQ(typed.second, console.Input()) << typed.first;
    }
}

TEST_F(FileCompletion, NameWithASpaceIsQuoted)
{
    folder.File(L"my notes.txt");
    console.Type(L"notepad my");
    console.PressCtrlTab();
    EXPECT_EQ(L"notepad \"my notes.txt\"", console.Input());
}

}  // namespace
