#include "shellview/ShellListView.h"

#include "TestFolderView.h"

#include <gtest/gtest.h>

using namespace shellview;
using namespace testing_shellview;

namespace {

TEST(FindShellListView, FindsTheListControlInEitherLayout)
{
    const TestBrowserWindow direct(TestBrowserWindow::Layout::Direct);
    EXPECT_EQ(direct.List(), FindShellListView(direct.Browser()));

    const TestBrowserWindow wrapped(TestBrowserWindow::Layout::Wrapped);
    EXPECT_EQ(wrapped.List(), FindShellListView(wrapped.Browser()));
}

TEST(FindShellListView, PrefersTheDirectChildOverTheChain)
{
    support::UniqueWindow browser(CreateTestWindow(nullptr, L"TestBrowserFrame"));
    const HWND view = CreateTestWindow(browser.Get(), L"SHELLDLL_DefView");
    ASSERT_NE(nullptr, CreateListView(CreateWrapperChain(view)));
    const HWND direct = CreateListView(view);
    EXPECT_EQ(direct, FindShellListView(browser.Get()));
}

TEST(FindShellListView, IgnoresWindowTitles)
{
    support::UniqueWindow browser(CreateTestWindow(nullptr, L"TestBrowserFrame", L"Downloads"));
    const HWND view = CreateTestWindow(browser.Get(), L"SHELLDLL_DefView", L"ShellView");
    const HWND list = CreateListView(CreateWrapperChain(view, L"Items View"));
    ::SetWindowTextW(list, L"Items View");
    EXPECT_EQ(list, FindShellListView(browser.Get()));
}

TEST(FindShellListView, SearchesOnlyDirectChildrenAndNeverLeavesTheBrowser)
{
    EXPECT_EQ(nullptr, FindShellListView(nullptr));

    // A web page: no view window at all, while another browser window elsewhere has one.
    const TestBrowserWindow elsewhere;
    support::UniqueWindow webPage(CreateTestWindow(nullptr, L"TestBrowserFrame"));
    EXPECT_EQ(nullptr, FindShellListView(webPage.Get()));

    // A view window one level too deep.
    support::UniqueWindow nested(CreateTestWindow(nullptr, L"TestBrowserFrame"));
    CreateListView(CreateChain(nested.Get(), {L"TestOtherHost", L"SHELLDLL_DefView"}));
    EXPECT_EQ(nullptr, FindShellListView(nested.Get()));

    // The chain broken where its first host should be.
    support::UniqueWindow broken(CreateTestWindow(nullptr, L"TestBrowserFrame"));
    CreateListView(CreateChain(broken.Get(), {L"SHELLDLL_DefView", L"TestOtherHost", L"DirectUIHWND",
                                              L"CtrlNotifySink"}));
    EXPECT_EQ(nullptr, FindShellListView(broken.Get()));

    // The list control one level below the end of the chain.
    support::UniqueWindow deep(CreateTestWindow(nullptr, L"TestBrowserFrame"));
    const HWND view = CreateTestWindow(deep.Get(), L"SHELLDLL_DefView");
    CreateListView(CreateTestWindow(CreateWrapperChain(view), L"TestOtherHost"));
    EXPECT_EQ(nullptr, FindShellListView(deep.Get()));
}

TEST(GetViewItemName, ReadsTheFileSystemNameOfEachItem)
{
    const TempFolder folder;
    TestBrowserWindow window;
    window.AddItem(PidlFromPath(folder.File(L"Report.TXT")), L"Report");
    window.AddItem(PidlFromPath(folder.Folder(L"My Documents")), L"My Documents");
    window.AddItem(VirtualFolderPidl(), L"My Computer");
    window.AddItem(UniquePidl(), L"no data");

    wchar_t name[MAX_PATH];
    ASSERT_TRUE(GetViewItemName(window.List(), 0, name));
    EXPECT_STREQ(L"Report.TXT", name);
    ASSERT_TRUE(GetViewItemName(window.List(), 1, name));
    EXPECT_STREQ(L"My Documents", name);
    EXPECT_FALSE(GetViewItemName(window.List(), 2, name));
    EXPECT_STREQ(L"", name);
    EXPECT_FALSE(GetViewItemName(window.List(), 3, name));
    EXPECT_FALSE(GetViewItemName(window.List(), 4, name));
    EXPECT_FALSE(GetViewItemName(nullptr, 0, name));
    EXPECT_EQ(4, GetViewItemCount(window.List()));
    EXPECT_EQ(0, GetViewItemCount(nullptr));
}

}  // namespace
