#include "BrowserWindow.h"
#include "shared/ScratchFolder.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <set>
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

using Microsoft::WRL::ComPtr;
using Names = std::vector<std::wstring>;

BOOL CALLBACK CountListControl(HWND child, LPARAM count)
{
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    *reinterpret_cast<int*>(count) += ::lstrcmpiW(className, WC_LISTVIEWW) == 0 ? 1 : 0;
    return TRUE;
}

int ListControlsBelow(HWND window)
{
    int count = 0;
    ::EnumChildWindows(window, CountListControl, reinterpret_cast<LPARAM>(&count));
    return count;
}

ComPtr<IFolderView> ActiveFolderView(const standin::BrowserWindow& window)
{
    ComPtr<IShellView> view;
    ComPtr<IFolderView> folderView;
    if (SUCCEEDED(window.ShellBrowserObject()->QueryActiveShellView(&view)))
        view.As(&folderView);
    return folderView;
}

// The items' file-system names through IFolderView alone.
Names NamesThroughFolderView(IFolderView* folderView)
{
    ComPtr<IShellFolder> folder;
    int count = 0;
    Names names;
    if (FAILED(folderView->GetFolder(IID_PPV_ARGS(&folder))) || FAILED(folderView->ItemCount(SVGIO_ALLVIEW, &count)))
        return names;
    for (int index = 0; index < count; ++index) {
        PITEMID_CHILD child = nullptr;
        STRRET name = {};
        wchar_t text[MAX_PATH] = {};
        if (SUCCEEDED(folderView->Item(index, &child)) &&
            SUCCEEDED(folder->GetDisplayNameOf(child, SHGDN_INFOLDER | SHGDN_FORPARSING, &name)))
            ::StrRetToBufW(&name, child, text, MAX_PATH);
        ::CoTaskMemFree(child);
        names.push_back(text);
    }
    return names;
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

TEST_F(FolderView, OlderLayoutsOfferNoShellView)
{
    ASSERT_TRUE(window.Create(folder.Path()));
    ComPtr<IShellView> view;
    EXPECT_EQ(E_FAIL, window.ShellBrowserObject()->QueryActiveShellView(&view));
    EXPECT_EQ(nullptr, view.Get());
}

// The shell views of both kinds, each in the band's tab and in a background tab.
class ShellViewTabs : public FolderView, public ::testing::WithParamInterface<standin::ViewLayout> {
protected:
    void SetUp() override
    {
        FolderView::SetUp();
        standin::BrowserOptions options;
        options.layout = GetParam();
        options.backgroundTab = true;
        ASSERT_TRUE(window.Create(folder.Path(), options));
        folderView = ActiveFolderView(window);
        ASSERT_NE(nullptr, folderView.Get());
    }

    ComPtr<IFolderView> folderView;
};

TEST_P(ShellViewTabs, OnlyTheActiveTabIsTheShellView)
{
    ComPtr<IShellView> view;
    ASSERT_EQ(S_OK, window.ShellBrowserObject()->QueryActiveShellView(&view));
    HWND viewWindow = nullptr;
    ASSERT_EQ(S_OK, view->GetWindow(&viewWindow));
    EXPECT_EQ(window.ViewWindow(), viewWindow);
    EXPECT_TRUE(::IsWindowVisible(viewWindow));
    EXPECT_EQ(window.Window(), ::GetParent(viewWindow));

    // Each kind of view keeps its own order; the platform's may differ from the stand-in's.
    const Names shown = NamesThroughFolderView(folderView.Get());
    EXPECT_EQ((std::set<std::wstring>{L"Sub", L"b9.txt", L"b10.txt"}), std::set<std::wstring>(shown.begin(), shown.end()));
    EXPECT_EQ(shown, window.ViewItemNames());
    EXPECT_EQ(shown, window.BackgroundItemNames());
}

TEST_P(ShellViewTabs, SelectionAndRemovalThroughTheInterfacesShowInTheView)
{
    const Names shown = NamesThroughFolderView(folderView.Get());
    ASSERT_EQ(3u, shown.size());
    ASSERT_EQ(S_OK, folderView->SelectItem(2, SVSI_SELECT | SVSI_FOCUSED | SVSI_DESELECTOTHERS));
    ASSERT_EQ(S_OK, folderView->SelectItem(1, SVSI_SELECT));
    EXPECT_EQ((Names{shown[1], shown[2]}), window.ViewItemNames(standin::ItemState::Selected));
    EXPECT_EQ(Names{shown[2]}, window.ViewItemNames(standin::ItemState::Focused));
    ASSERT_EQ(S_OK, folderView->SelectItem(0, SVSI_DESELECTOTHERS));
    EXPECT_TRUE(window.ViewItemNames(standin::ItemState::Selected).empty());

    ComPtr<IShellFolderView> items;
    ASSERT_EQ(S_OK, folderView->QueryInterface(standin::ShellFolderViewId, reinterpret_cast<void**>(items.GetAddressOf())));
    PITEMID_CHILD child = nullptr;
    ASSERT_EQ(S_OK, folderView->Item(1, &child));
    UINT removedAt = 0;
    EXPECT_EQ(S_OK, items->RemoveObject(child, &removedAt));
    ::CoTaskMemFree(child);
    EXPECT_EQ(1u, removedAt);
    EXPECT_EQ((Names{shown[0], shown[2]}), window.ViewItemNames());
    EXPECT_EQ(shown, window.BackgroundItemNames()) << "the other tab keeps its items";

    window.Browser()->Refresh();
    EXPECT_EQ(shown, window.ViewItemNames());
}

TEST_P(ShellViewTabs, AViewOpensAFolderThroughTheBrowser)
{
    PITEMID_CHILD sub = nullptr;
    ASSERT_EQ(S_OK, folderView->Item(0, &sub));
    EXPECT_EQ(S_OK, window.ShellBrowserObject()->BrowseObject(sub, SBSP_SAMEBROWSER | SBSP_RELATIVE));
    ::CoTaskMemFree(sub);
    EXPECT_TRUE(window.PumpUntil([&] { return window.Folder() == folder.Path() + L"\\Sub"; }));
    EXPECT_TRUE(window.ViewItemNames().empty());
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ShellViewTabs,
                         ::testing::Values(standin::ViewLayout::ShellView, standin::ViewLayout::ItemsView),
                         [](const ::testing::TestParamInfo<standin::ViewLayout>& info) {
                             return info.param == standin::ViewLayout::ShellView ? "Platform" : "Items";
                         });

TEST_F(FolderView, TheItemsViewHasNoListControlAnywhere)
{
    standin::BrowserOptions options;
    options.layout = standin::ViewLayout::ItemsView;
    options.extras.syntheticItems = 2;
    ASSERT_TRUE(window.Create(folder.Path(), options));
    EXPECT_EQ(0, ListControlsBelow(window.Window()));
    EXPECT_EQ(nullptr, window.ListView());
    const ComPtr<IFolderView> folderView = ActiveFolderView(window);
    ComPtr<IShellItemArray> inOrder;
    ASSERT_EQ(S_OK, folderView->Items(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER, IID_PPV_ARGS(&inOrder)));
    DWORD count = 0;
    inOrder->GetCount(&count);
    ASSERT_EQ(5u, count);
    ComPtr<IShellItem> last;
    ASSERT_EQ(S_OK, inOrder->GetItemAt(4, &last));
    wchar_t* path = nullptr;
    ASSERT_EQ(S_OK, last->GetDisplayName(SIGDN_FILESYSPATH, &path));
    EXPECT_EQ(folder.Path() + L"\\synthetic000002.txt", path);
    ::CoTaskMemFree(path);
}

}  // namespace
