// Explorer's process and the window list's server may end at any time, also in the middle of a
// call: the companion drops what is gone, never hangs, and follows what comes back.
#include "CompanionTestSupport.h"
#include "ItemsView.h"
#include "TabbedWindow.h"

#include <thread>

namespace companiontest {
namespace {

TEST_F(CompanionTest, TheListsServerEndingAndExplorerRestartingAreSurvived)
{
    StartBoth();
    ASSERT_TRUE(shellList.Kill());
    // Windows opened since register in the list's new server, where the companion finds them.
    ASSERT_TRUE(browser.Command(window, standin::NewWindowCommand));
    std::vector<HWND> windows = browser.Windows();
    ASSERT_EQ(2u, windows.size());
    const HWND second = windows[0] == window ? windows[1] : windows[0];
    PlaceWindow(second, 300, 100, 700, 500);
    EXPECT_NE(nullptr, ConsoleOf(second, folder.Path()));
    TypeLine(textBox, L"cd Sub");
    EXPECT_TRUE(WaitForTextEnd(textBox, PromptOf(sub))) << "the window found before goes on";

    // Explorer ends with its list, and a new one starts.
    ASSERT_TRUE(browser.Kill());
    ASSERT_TRUE(shellList.Kill());
    EXPECT_TRUE(PumpUntil([&] { return companion.Docks(false).empty() && companion.Interpreters() == 0; }));
    StandInProcess restarted;
    ASSERT_TRUE(restarted.Start(folder.Path(), {L"--items-view"}));
    EXPECT_NE(nullptr, ConsoleOf(restarted.Windows().front(), folder.Path()));
    EXPECT_TRUE(companion.IsRunning());
}

TEST_F(CompanionTest, ABrowserKilledInTheMiddleOfACallIsDroppedAndTheOthersGoOn)
{
    StartBoth({L"--items-view", L"--slow-view-ms", L"600000"});
    const support::UniqueHandle callBegan(
        ::CreateEventW(nullptr, TRUE, FALSE, standin::SlowCallEventName(browser.ProcessId()).c_str()));
    ASSERT_TRUE(callBegan);
    const HANDLE process = browser.Process();
    std::thread killer([&] {
        if (::WaitForSingleObject(callBegan.Get(), standin::DefaultPumpTimeoutMs) == WAIT_OBJECT_0)
            ::TerminateProcess(process, 1);
    });
    TypeText(textBox, L"type b");
    PressKey(textBox, VK_TAB);
    killer.join();
    EXPECT_TRUE(browser.WaitForExit());
    EXPECT_TRUE(PumpUntil([&] { return companion.Docks(false).empty() && companion.Interpreters() == 0; }));
    EXPECT_TRUE(companion.IsRunning());

    StandInProcess next;
    ASSERT_TRUE(next.Start(folder.Path(), {L"--items-view"}));
    EXPECT_NE(nullptr, ConsoleOf(next.Windows().front(), folder.Path()));
}

}  // namespace
}  // namespace companiontest
