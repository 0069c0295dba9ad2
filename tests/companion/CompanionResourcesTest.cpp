// The companion's own code in the test's process, following a stand-in browser of another: what
// fifty windows opened and closed leave behind is counted here.
#include "CompanionTestSupport.h"
#include "TabbedWindow.h"
#include "companion/Companion.h"
#include "settings/ConsoleSettings.h"
#include "shared/ProcessProbe.h"

namespace companiontest {
namespace {

constexpr int Windows = 50;

class CompanionInProcess : public CompanionTest {
protected:
    bool Pump(const std::function<bool()>& done)
    {
        return standin::PumpUntil(done, standin::DefaultPumpTimeoutMs,
                                  [&](MSG& message) { return following.RouteKey(message); });
    }

    size_t Interpreters() const { return testsupport::ChildProcessIds(L"cmd.exe").size(); }

    // A window of the browser opened, given its console and interpreter, and closed; what did
    // not happen when it did not.
    std::string OpenAndCloseAWindow(HWND first)
    {
        if (!browser.Command(first, standin::NewWindowCommand))
            return "no new window";
        if (!Pump([&] { return following.ConsoleCount() == 2 && Interpreters() == 2; }))
            return "no console: " + Census();
        const std::vector<HWND> windows = browser.Windows();
        const HWND opened = windows.front() == first ? windows.back() : windows.front();
        ::PostMessageW(opened, WM_CLOSE, 0, 0);
        if (!Pump([&] { return following.WindowCount() == 1 && Interpreters() == 1; }))
            return "not closed: " + Census();
        return std::string();
    }

    std::string Census() const
    {
        return std::to_string(browser.Windows().size()) + " browser windows, " +
               std::to_string(following.WindowCount()) + " followed with " + std::to_string(following.FollowedTabCount()) +
               " tabs, " + std::to_string(following.ConsoleCount()) +
               " consoles, " + std::to_string(Interpreters()) + " interpreters";
    }

    companion::Companion following{[] {
        companion::Companion::Options options;
        options.dockedHeight = settings::DefaultSettings(settings::HostKind::Companion).dockedHeight;
        return options;
    }()};
};

// The first window leaves what lives as long as the process (window classes, the proxies'
// machinery); later ones may add nothing. A few handles of slack allow for Wine's own caches.
TEST_F(CompanionInProcess, FiftyWindowsOpenedAndClosedLeaveNoHandlesThreadsOrInterpreters)
{
    ASSERT_TRUE(browser.Start(folder.Path(), {L"--items-view"}));
    ASSERT_TRUE(following.Start());
    const HWND first = browser.Windows().front();
    ASSERT_TRUE(Pump([&] { return following.ConsoleCount() == 1 && Interpreters() == 1; }));
    ASSERT_EQ("", OpenAndCloseAWindow(first));
    const int handlesBefore = testsupport::CountOpenHandles();
    const int threadsBefore = testsupport::CountThreads();

    for (int opened = 0; opened < Windows; ++opened)
        ASSERT_EQ("", OpenAndCloseAWindow(first)) << "window " << opened;

    int handlesAfter = 0;
    int threadsAfter = 0;
    // A worker thread that has been joined may still be listed until the system has reaped it.
    Pump([&] {
        handlesAfter = testsupport::CountOpenHandles();
        threadsAfter = testsupport::CountThreads();
        return handlesAfter <= handlesBefore + 8 && threadsAfter <= threadsBefore;
    });
    EXPECT_LE(handlesAfter, handlesBefore + 8) << "before " << handlesBefore;
    EXPECT_LE(threadsAfter, threadsBefore) << "before " << threadsBefore;
    EXPECT_EQ(1u, Interpreters());
    following.Stop();
    EXPECT_TRUE(Pump([&] { return Interpreters() == 0; }));
}

}  // namespace
}  // namespace companiontest
