// The companion program follows a stand-in browser in another process through the shell's window
// list, as it follows File Explorer, and docks a console to it.
#include "CompanionTestSupport.h"
#include "FileUrl.h"
#include "TabbedWindow.h"

namespace companiontest {
namespace {

TEST_F(CompanionTest, TheConsoleFollowsTheBrowserAndTheBrowserFollowsTheConsolesCd)
{
    StartBoth();
    ListClient list(shellList);
    const ComPtr<IWebBrowser2> tab = list.BrowserOf(StandInProcess::TabWindows(window).front());
    ASSERT_NE(nullptr, tab.Get());

    ASSERT_EQ(S_OK, ListClient::Navigate(tab.Get(), standin::FileUrlFromPath(sub)));
    EXPECT_TRUE(WaitForTextEnd(textBox, PromptOf(sub))) << TextOf(textBox);

    TypeLine(textBox, L"cd ..");
    EXPECT_TRUE(PumpUntil([&] { return ListClient::FolderOf(tab.Get()) == standin::FileUrlFromPath(folder.Path()); }))
        << ListClient::FolderOf(tab.Get());
    EXPECT_TRUE(WaitForTextEnd(textBox, PromptOf(folder.Path()))) << TextOf(textBox);
    EXPECT_EQ(1u, companion.Interpreters());
}

}  // namespace
}  // namespace companiontest
