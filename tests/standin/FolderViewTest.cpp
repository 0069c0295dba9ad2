#include "BrowserWindow.h"
#include "shared/ScratchFolder.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

struct ViewItem {
    std::wstring text;
    std::wstring path;  // empty: the item has no file-system path
};

std::vector<ViewItem> ItemsOf(HWND list)
{
    std::vector<ViewItem> items;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        wchar_t text[MAX_PATH] = {};
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        wchar_t path[MAX_PATH] = {};
        if (!item.lParam || !::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item.lParam), path))
            path[0] = L'\0';
        items.push_back({text, path});
    }
    return items;
}

HWND ChildOfClass(HWND parent, const wchar_t* className)
{
    return parent ? ::FindWindowExW(parent, nullptr, className, nullptr) : nullptr;
}

class FolderView : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.File(L"b10.txt");
        folder.File(L"b9.txt");
        folder.Folder(L"Sub");
    }

    void ExpectFolderItems(const std::vector<ViewItem>& items)
    {
        ASSERT_GE(items.size(), 3u);
        const std::vector<std::wstring> names = {L"Sub", L"b9.txt", L"b10.txt"};
        for (size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(names[i], items[i].text);
            EXPECT_EQ(folder.Path() + L"\\" + names[i], items[i].path);
        }
    }

    testsupport::ScratchFolder folder;
    standin::BrowserWindow window;
};

TEST_F(FolderView, ClassicLayoutKeepsTheListDirectlyInTheViewWindow)
{
    ASSERT_TRUE(window.Create(folder.Path()));
    const HWND view = ChildOfClass(window.Window(), L"SHELLDLL_DefView");
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(window.ListView(), ChildOfClass(view, L"SysListView32"));
    const std::vector<ViewItem> items = ItemsOf(window.ListView());
    EXPECT_EQ(3u, items.size());
    ExpectFolderItems(items);
}

TEST_F(FolderView, NewerLayoutKeepsTheListAtTheEndOfTheChain)
{
    standin::BrowserOptions options;
    options.layout = standin::ViewLayout::Newer;
    ASSERT_TRUE(window.Create(folder.Path(), options));
    const HWND view = ChildOfClass(window.Window(), L"SHELLDLL_DefView");
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(nullptr, ChildOfClass(view, L"SysListView32"));
    HWND step = view;
    for (const wchar_t* className : {L"DUIViewWndClassName", L"DirectUIHWND", L"CtrlNotifySink"})
        step = ChildOfClass(step, className);
    EXPECT_EQ(window.ListView(), ChildOfClass(step, L"SysListView32"));
    ExpectFolderItems(ItemsOf(window.ListView()));

    window.SetLayout(standin::ViewLayout::Classic);
    EXPECT_EQ(window.ListView(), ChildOfClass(ChildOfClass(window.Window(), L"SHELLDLL_DefView"), L"SysListView32"));
}

TEST_F(FolderView, VirtualItemsHaveNoFileSystemPath)
{
    standin::BrowserOptions options;
    options.extras.virtualItems = true;
    ASSERT_TRUE(window.Create(folder.Path(), options));
    const std::vector<ViewItem> items = ItemsOf(window.ListView());
    ExpectFolderItems(items);
    ASSERT_GT(items.size(), 3u);
    for (size_t i = 3; i < items.size(); ++i) {
        EXPECT_FALSE(items[i].text.empty());
        EXPECT_EQ(L"", items[i].path) << items[i].text.c_str();
    }
}

TEST_F(FolderView, SyntheticItemsNameFilesInTheFolder)
{
    standin::BrowserOptions options;
    options.extras.syntheticItems = 120;
    ASSERT_TRUE(window.Create(folder.Path(), options));
    const std::vector<ViewItem> items = ItemsOf(window.ListView());
    ASSERT_EQ(123u, items.size());
    EXPECT_EQ(L"synthetic000120.txt", items.back().text);
    EXPECT_EQ(folder.Path() + L"\\synthetic000120.txt", items.back().path);
}

TEST_F(FolderView, ItemsRemovedByOthersComeBackOnRefresh)
{
    ASSERT_TRUE(window.Create(folder.Path()));
    ::SendMessageW(window.ListView(), LVM_DELETEITEM, 0, 0);
    EXPECT_EQ(2u, ItemsOf(window.ListView()).size());
    window.Browser()->Refresh();
    ExpectFolderItems(ItemsOf(window.ListView()));
}

TEST_F(FolderView, HiddenEntriesStayOutOfSight)
{
    const std::wstring hidden = folder.File(L"hidden.txt");
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(window.Create(folder.Path()));
    EXPECT_EQ(3u, ItemsOf(window.ListView()).size());
}

TEST_F(FolderView, ActivatingAFolderItemOpensIt)
{
    ASSERT_TRUE(window.Create(folder.Path()));
    LVITEMW state = {};
    state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    state.state = LVIS_FOCUSED | LVIS_SELECTED;
    ::SendMessageW(window.ListView(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    ::SetFocus(window.ListView());
    window.PressKey(window.ListView(), VK_RETURN);
    ASSERT_TRUE(window.PumpUntil([&] { return window.Folder() == folder.Path() + L"\\Sub"; }));
    EXPECT_EQ(0, ::SendMessageW(window.ListView(), LVM_GETITEMCOUNT, 0, 0));

    window.PressKey(window.ListView(), VK_BACK);
    EXPECT_TRUE(window.PumpUntil([&] { return window.Folder() == folder.Path(); }));
}

TEST_F(FolderView, TheAddressFieldNavigatesOnEnter)
{
    ASSERT_TRUE(window.Create(folder.Path()));
    ::SetWindowTextW(window.AddressField(), L"Sub");
    window.PressKey(window.AddressField(), VK_RETURN);
    EXPECT_EQ(folder.Path() + L"\\Sub", window.Folder());
    ::SetWindowTextW(window.AddressField(), L"nowhere");
    window.PressKey(window.AddressField(), VK_RETURN);
    EXPECT_EQ(folder.Path() + L"\\Sub", window.Folder());
}

}  // namespace
