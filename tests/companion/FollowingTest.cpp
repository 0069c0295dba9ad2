// The companion program follows a stand-in browser in another process through the shell's window
// list, as it follows File Explorer, and docks a console to it.
#include "CompanionTestSupport.h"
#include "FileUrl.h"
#include "TabbedWindow.h"

#include <algorithm>

namespace companiontest {
namespace {

TEST_F(CompanionTest, TheConsoleFollowsTheBrowserAndTheBrowserFollowsTheConsolesCd)
{
    StartBoth();
    ListClient list(shellList);
    const ComPtr<IWebBrowser2> tab = list.BrowserOf(StandInProcess::TabWindows(window).front());
    ASSERT_NE(nullptr, tab.Get());

    ASSERT_EQ(S_OK, testsupport::NavigateAcross(tab.Get(), standin::FileUrlFromPath(sub)));
    EXPECT_TRUE(WaitForTextEnd(textBox, PromptOf(sub))) << TextOf(textBox);

    TypeLine(textBox, L"cd ..");
    EXPECT_TRUE(PumpUntil([&] { return ListClient::FolderOf(tab.Get()) == standin::FileUrlFromPath(folder.Path()); }))
        << ListClient::FolderOf(tab.Get());
    EXPECT_TRUE(WaitForTextEnd(textBox, PromptOf(folder.Path()))) << TextOf(textBox);
    EXPECT_EQ(1u, companion.Interpreters());
}

// Tab and "sel" read the names of the view in Explorer's process from here; nothing can take items
// out of that view from another process, and "filt" says so.
TEST_F(CompanionTest, TabAndSelWorkThroughTheRemoteViewAndFiltSaysItCannot)
{
    StartBoth();
    ListClient list(shellList);
    const ComPtr<IWebBrowser2> tab = list.BrowserOf(StandInProcess::TabWindows(window).front());
    ASSERT_NE(nullptr, tab.Get());
    const std::wstring prompt = PromptOf(folder.Path());

    TypeText(textBox, L"type b1");
    PressKey(textBox, VK_TAB);
    EXPECT_TRUE(WaitForTextEnd(textBox, prompt + L"type b10.txt")) << TextOf(textBox);
    PressKey(textBox, VK_ESCAPE);
    EXPECT_TRUE(WaitForTextEnd(textBox, prompt));

    TypeLine(textBox, L"sel *.txt");
    EXPECT_TRUE(PumpUntil([&] { return testsupport::StandInRecord(tab.Get(), L"StandIn.SelectedItems").size() == 2; }));
    Names selected = testsupport::StandInRecord(tab.Get(), L"StandIn.SelectedItems");
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ((Names{L"b10.txt", L"b9.txt"}), selected);

    const Names before = testsupport::StandInRecord(tab.Get(), L"StandIn.Items");
    TypeLine(textBox, L"filt *.csv");
    EXPECT_TRUE(WaitForText(textBox, [](const std::wstring& text) {
        return text.find(L"filt: this folder view does not let items be removed; nothing was hidden.") !=
               std::wstring::npos;
    })) << TextOf(textBox);
    EXPECT_EQ(before, testsupport::StandInRecord(tab.Get(), L"StandIn.Items"));
}

TEST_F(CompanionTest, EachWindowHasAConsoleAndAnInterpreterOfItsOwn)
{
    StartBoth();
    ASSERT_TRUE(browser.Command(window, standin::NewWindowCommand));
    std::vector<HWND> windows = browser.Windows();
    ASSERT_EQ(2u, windows.size());
    const HWND second = windows[0] == window ? windows[1] : windows[0];
    PlaceWindow(second, 300, 100, 700, 500);
    const HWND secondBox = ConsoleOf(second, folder.Path());
    ASSERT_NE(nullptr, secondBox);
    EXPECT_NE(textBox, secondBox);
    EXPECT_TRUE(PumpUntil([&] { return companion.Interpreters() == 2; }));

    ListClient list(shellList);
    const ComPtr<IWebBrowser2> firstTab = list.BrowserOf(StandInProcess::TabWindows(window).front());
    const ComPtr<IWebBrowser2> secondTab = list.BrowserOf(StandInProcess::TabWindows(second).front());
    TypeLine(secondBox, L"cd Sub");
    EXPECT_TRUE(PumpUntil([&] { return ListClient::FolderOf(secondTab.Get()) == standin::FileUrlFromPath(sub); }));
    EXPECT_TRUE(WaitForTextEnd(secondBox, PromptOf(sub)));
    EXPECT_EQ(standin::FileUrlFromPath(folder.Path()), ListClient::FolderOf(firstTab.Get()));
    EXPECT_TRUE(EndsWith(TextOf(textBox), PromptOf(folder.Path())));
}

// Every tab is a browser of the list; the console works on the active one and follows the user
// to another tab, although Explorer tells nobody that another tab became active.
TEST_F(CompanionTest, TheConsoleWorksOnTheActiveTabAndLeavesTheOthersAlone)
{
    StartBoth();
    ASSERT_TRUE(browser.Command(window, standin::NewTabCommand));
    ListClient list(shellList);
    const std::vector<HWND> tabs = StandInProcess::TabWindows(window);
    ASSERT_EQ(2u, tabs.size());
    const ComPtr<IWebBrowser2> active = list.BrowserOf(tabs[0]);
    const ComPtr<IWebBrowser2> background = list.BrowserOf(tabs[1]);
    ASSERT_NE(nullptr, active.Get());
    ASSERT_NE(nullptr, background.Get());

    TypeLine(textBox, L"cd Sub");
    EXPECT_TRUE(PumpUntil([&] { return ListClient::FolderOf(active.Get()) == standin::FileUrlFromPath(sub); }));
    EXPECT_TRUE(WaitForTextEnd(textBox, PromptOf(sub)));
    EXPECT_EQ(standin::FileUrlFromPath(folder.Path()), ListClient::FolderOf(background.Get()));

    ASSERT_TRUE(browser.Command(window, standin::FirstTabCommand));
    EXPECT_TRUE(WaitForTextEnd(textBox, PromptOf(folder.Path()))) << "the console follows the tab brought up: " << TextOf(textBox);
    TypeLine(textBox, L"cd Sub");
    EXPECT_TRUE(PumpUntil([&] { return ListClient::FolderOf(background.Get()) == standin::FileUrlFromPath(sub); }));
}

TEST_F(CompanionTest, ClosingTheWindowClosesItsConsoleAndEndsItsInterpreter)
{
    StartBoth();
    ASSERT_TRUE(PumpUntil([&] { return companion.Interpreters() == 1; }));
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return companion.Docks(false).empty(); }));
    EXPECT_TRUE(PumpUntil([&] { return companion.Interpreters() == 0; }));
    EXPECT_TRUE(companion.IsRunning());
}

}  // namespace
}  // namespace companiontest
