#include "shellview/ViewCommands.h"

#include "shellview/ShellListView.h"
#include "TestFolderView.h"

#include <gtest/gtest.h>

using namespace shellview;
using namespace testing_shellview;

namespace {

using Texts = std::vector<std::wstring>;
using Indexes = std::vector<int>;

// The view's names by index; the empty one stands for an item without a file-system name.
const Texts viewNames = {L"Zeta.doc", L"Notes.TXT", L"", L"b.txt.bak", L"Sheet.xls", L"txt", L"a.txt"};

TEST(ViewCommands, SelFindsMatchesInIndexOrderAndFiltHidesTheRestFromTheLast)
{
    // "b.txt.bak" does not end in ".txt", and "txt" lacks the dot.
    EXPECT_EQ((Indexes{1, 6}), MatchingIndexes(viewNames, L"*.TXT"));
    EXPECT_EQ((Indexes{0, 4}), MatchingIndexes(viewNames, L"zeta \xFF0A.xls *.xls"));
    EXPECT_TRUE(MatchingIndexes(viewNames, L"*.zzz").empty());
    // The item without a name is passed over even by "*", and never hidden.
    EXPECT_EQ((Indexes{0, 1, 3, 4, 5, 6}), MatchingIndexes(viewNames, L"*"));
    EXPECT_EQ((Indexes{5, 4, 3}), IndexesToHide(viewNames, L"*.doc *.txt"));
    EXPECT_TRUE(IndexesToHide(viewNames, L"*").empty());
    EXPECT_EQ((Indexes{6, 5, 4, 3, 1, 0}), IndexesToHide(viewNames, L"*.zzz"));
}

class ListItems : public ::testing::TestWithParam<TestBrowserWindow::Layout> {
protected:
    ListItems() : window(GetParam())
    {
        ShowFiles(window, folder,
                  {L"Zeta.doc", L"Notes.TXT", nullptr, L"b.txt.bak", L"Sheet.xls", L"txt", L"a.txt"});
    }

    TempFolder folder;
    TestBrowserWindow window;
};

TEST_P(ListItems, NamesAreReadByIndexAndSelectionFocusesTheFirst)
{
    EXPECT_EQ(viewNames, ReadViewNames(window.List()));
    window.SetSelected(0, true);
    SelectListItems(window.List(), {1, 3, 6});
    EXPECT_EQ((Indexes{1, 3, 6}), window.SelectedItems());
    EXPECT_EQ(1, window.FocusedItem());

    SelectListItems(window.List(), {});
    EXPECT_TRUE(window.SelectedItems().empty());
    EXPECT_EQ(-1, window.FocusedItem());
    EXPECT_EQ(7, window.ItemCount());
}

TEST_P(ListItems, RemovalTakesItemsFromTheListOnly)
{
    EXPECT_EQ(2, RemoveListItems(window.List(), {5, 4}));
    EXPECT_EQ((Texts{L"Zeta.doc", L"Notes.TXT", L"My Computer", L"b.txt.bak", L"a.txt"}), window.ItemTexts());
    EXPECT_EQ(0, RemoveListItems(window.List(), {}));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((folder.Path() + L"\\Sheet.xls").c_str()));
}

TEST_P(ListItems, RemovalLeavesAnotherWindowsUpdateLockAlone)
{
    const HWND other = CreateTestWindow(window.Browser(), L"TestOtherHost");
    ASSERT_TRUE(::LockWindowUpdate(other));
    EXPECT_EQ(1, RemoveListItems(window.List(), {2}));
    EXPECT_FALSE(::LockWindowUpdate(window.List()));
    ::LockWindowUpdate(nullptr);

    EXPECT_EQ(3, RemoveListItems(window.List(), {5, 3, 1}));
    EXPECT_TRUE(::LockWindowUpdate(other));
    ::LockWindowUpdate(nullptr);
}

TEST(ListItemsWithoutAList, NothingIsReadSelectedOrRemoved)
{
    EXPECT_TRUE(ReadViewNames(nullptr).empty());
    SelectListItems(nullptr, {0});
    EXPECT_EQ(0, RemoveListItems(nullptr, {0}));
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, ListItems,
                         ::testing::Values(TestBrowserWindow::Layout::Direct,
                                           TestBrowserWindow::Layout::Wrapped));

}  // namespace
