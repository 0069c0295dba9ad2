#include "shellview/ViewCommands.h"

#include "shellview/WildcardMatch.h"
#include "TestFolderView.h"

#include <gtest/gtest.h>

using namespace shellview;
using namespace testing_shellview;

namespace {

constexpr DWORD FLAGS = MATCH_LOWERCASE | MATCH_HALFWIDTH;

using Texts = std::vector<std::wstring>;
using Indexes = std::vector<int>;

class ViewCommands : public ::testing::TestWithParam<TestBrowserWindow::Layout> {
protected:
    ViewCommands() : window(GetParam())
    {
        ShowFiles(window, folder,
                  {L"Zeta.doc", L"Notes.TXT", nullptr, L"b.txt.bak", L"Sheet.xls", L"txt", L"a.txt"});
    }

    TempFolder folder;
    TestBrowserWindow window;
};

TEST_P(ViewCommands, SelectMatchingItemsSelectsAndFocusesTheFirstMatch)
{
    window.SetSelected(0, true);
    // "b.txt.bak" does not end in ".txt", and "txt" lacks the dot.
    EXPECT_EQ(2, SelectMatchingItems(window.List(), L"*.TXT", FLAGS));
    EXPECT_EQ((Indexes{1, 6}), window.SelectedItems());
    EXPECT_EQ(1, window.FocusedItem());

    EXPECT_EQ(2, SelectMatchingItems(window.List(), L"zeta \xFF0A.xls *.xls", FLAGS));
    EXPECT_EQ((Indexes{0, 4}), window.SelectedItems());
    EXPECT_EQ(0, window.FocusedItem());
}

TEST_P(ViewCommands, SelectWithoutMatchClearsTheSelectionAndKeepsTheItems)
{
    window.SetSelected(4, true);
    EXPECT_EQ(0, SelectMatchingItems(window.List(), L"*.zzz", FLAGS));
    EXPECT_TRUE(window.SelectedItems().empty());
    EXPECT_EQ(7, window.ItemCount());

    // The virtual item has no name, so even "*" passes it over.
    EXPECT_EQ(6, SelectMatchingItems(window.List(), L"*", FLAGS));
    EXPECT_EQ((Indexes{0, 1, 3, 4, 5, 6}), window.SelectedItems());
}

TEST_P(ViewCommands, FilterItemsKeepsMatchesAndNamelessItems)
{
    window.SetSelected(1, true);
    EXPECT_EQ(3, FilterItems(window.List(), L"*.doc *.txt", FLAGS));
    EXPECT_EQ((Texts{L"Zeta.doc", L"Notes.TXT", L"My Computer", L"a.txt"}), window.ItemTexts());
    EXPECT_TRUE(window.SelectedItems().empty());
    EXPECT_EQ(-1, window.FocusedItem());

    EXPECT_EQ(0, FilterItems(window.List(), L"*", FLAGS));
    EXPECT_EQ(4, window.ItemCount());

    EXPECT_EQ(3, FilterItems(window.List(), L"*.zzz", FLAGS));
    EXPECT_EQ((Texts{L"My Computer"}), window.ItemTexts());
}

TEST_P(ViewCommands, FilterItemsLeavesAnotherWindowsUpdateLockAlone)
{
    const HWND other = CreateTestWindow(window.Browser(), L"TestOtherHost");
    ASSERT_TRUE(::LockWindowUpdate(other));
    EXPECT_EQ(1, FilterItems(window.List(), L"*.*", FLAGS));
    EXPECT_FALSE(::LockWindowUpdate(window.List()));
    ::LockWindowUpdate(nullptr);

    EXPECT_EQ(3, FilterItems(window.List(), L"*.doc *.xls", FLAGS));
    EXPECT_TRUE(::LockWindowUpdate(other));
    ::LockWindowUpdate(nullptr);
}

TEST_P(ViewCommands, CommandsMoveTheFocusOnlyWhenSomethingWasSelected)
{
    HWND console = CreateTestWindow(window.Browser(), L"TestOtherHost");
    ::ShowWindow(window.Browser(), SW_SHOW);
    ::SetFocus(console);
    ASSERT_EQ(console, ::GetFocus());

    EXPECT_EQ(0, RunSelectCommand(window.List(), L"*.zzz"));
    EXPECT_EQ(console, ::GetFocus());
    EXPECT_EQ(1, RunSelectCommand(window.List(), L"SHEET"));
    EXPECT_EQ(window.List(), ::GetFocus());

    EXPECT_EQ(5, RunFilterCommand(window.List(), L"sheet", nullptr));
    EXPECT_EQ((Texts{L"My Computer", L"Sheet.xls"}), window.ItemTexts());
}

TEST(ViewCommandsWithoutView, DoNothing)
{
    EXPECT_EQ(0, SelectMatchingItems(nullptr, L"*", FLAGS));
    EXPECT_EQ(0, FilterItems(nullptr, L"*", FLAGS));
    EXPECT_EQ(0, RunSelectCommand(nullptr, L"*"));
    EXPECT_EQ(0, RunFilterCommand(nullptr, L"*", nullptr));
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, ViewCommands,
                         ::testing::Values(TestBrowserWindow::Layout::Direct,
                                           TestBrowserWindow::Layout::Wrapped));

}  // namespace
