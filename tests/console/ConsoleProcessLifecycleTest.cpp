#include "ConsoleTestSupport.h"

#include "console/ConsoleProcess.h"

#include <gtest/gtest.h>

using consoletest::ChildProcessIds;
using consoletest::CollectingWindow;
using consoletest::ExitCodeOf;
using consoletest::NewProcessId;
using consoletest::OpenForExitCode;

namespace {

constexpr wchar_t Interpreter[] = L"cmd.exe";

TEST(ConsoleProcessLifecycle, StopIsSafeWhenNeverStartedAndWhenRepeated)
{
    console::ConsoleProcess idle;
    EXPECT_TRUE(idle.Stop());
    EXPECT_TRUE(idle.Stop());
    EXPECT_FALSE(idle.IsRunning());
    EXPECT_FALSE(idle.WriteLine(L"dir\r\n"));
}

TEST(ConsoleProcessLifecycle, SecondStartWhileRunningCreatesNoInterpreter)
{
    CollectingWindow window;
    console::ConsoleProcess console;
    const auto before = ChildProcessIds(Interpreter);
    ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
    EXPECT_TRUE(console.IsRunning());
    EXPECT_FALSE(console.Start(window.Handle(), L"C:\\"));
    EXPECT_EQ(before.size() + 1, ChildProcessIds(Interpreter).size());
    EXPECT_TRUE(console.IsRunning());
    ASSERT_TRUE(window.WaitForPrompt(0));
    EXPECT_TRUE(console.Stop());
    EXPECT_FALSE(console.IsRunning());
    EXPECT_TRUE(console.Stop());
}

TEST(ConsoleProcessLifecycle, StopTerminatesWithExitCodeOneAndNeverReportsAnExit)
{
    CollectingWindow window;
    console::ConsoleProcess console;
    const auto before = ChildProcessIds(Interpreter);
    ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
    const auto process = OpenForExitCode(NewProcessId(before, ChildProcessIds(Interpreter)));
    ASSERT_TRUE(process);
    ASSERT_TRUE(window.WaitForPrompt(0));
    console.Stop();
    EXPECT_EQ(1u, ExitCodeOf(process.Get()));
    // Anything the workers could still have sent would be waiting in this thread's queue now.
    window.PumpUntil([] { return true; });
    EXPECT_EQ(0, window.Got().exited);
    EXPECT_FALSE(console.WriteLine(L"dir\r\n"));
}

TEST(ConsoleProcessLifecycle, InterpreterEndingByItselfIsReportedOnceAndNotTerminated)
{
    CollectingWindow window;
    console::ConsoleProcess console;
    const auto before = ChildProcessIds(Interpreter);
    ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
    const auto process = OpenForExitCode(NewProcessId(before, ChildProcessIds(Interpreter)));
    ASSERT_TRUE(window.WaitForPrompt(0));
    ASSERT_TRUE(console.WriteLine(L"exit\r\n"));
    ASSERT_TRUE(window.WaitForExited());
    EXPECT_FALSE(console.IsRunning());
    // The interpreter's console host may hold its input a moment longer than the interpreter.
    EXPECT_TRUE(window.PumpUntil([&] { return !console.WriteLine(L"rem\r\n"); }));
    EXPECT_TRUE(console.Stop());
    window.PumpUntil([] { return true; });
    EXPECT_EQ(1, window.Got().exited);
    EXPECT_EQ(0u, ExitCodeOf(process.Get()));
}

TEST(ConsoleProcessLifecycle, StartAfterTheInterpreterEndedStartsAFreshOne)
{
    CollectingWindow window;
    console::ConsoleProcess console;
    ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
    ASSERT_TRUE(window.WaitForPrompt(0));
    ASSERT_TRUE(console.WriteLine(L"exit\r\n"));
    ASSERT_TRUE(window.WaitForExited());

    const auto before = ChildProcessIds(Interpreter);
    const std::size_t seen = window.Got().output.size();
    ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
    EXPECT_EQ(before.size() + 1, ChildProcessIds(Interpreter).size());
    ASSERT_TRUE(window.WaitForPrompt(seen));
    const std::size_t prompted = window.Got().output.size();
    ASSERT_TRUE(console.WriteLine(L"echo again\r\n"));
    ASSERT_TRUE(window.WaitForPrompt(prompted));
    EXPECT_NE(std::wstring::npos, window.Got().output.find(L"again", prompted));
    console.Stop();
    EXPECT_EQ(1, window.Got().exited);
}

TEST(ConsoleProcessLifecycle, FailedStartLeavesNothingBehindAndALaterStartWorks)
{
    CollectingWindow window;
    console::ConsoleProcess console;
    console::ConsoleProcess warmUp;
    warmUp.Start(window.Handle(), L"C:\\");
    window.WaitForPrompt(0);
    warmUp.Stop();
    const int handlesBefore = consoletest::CountOpenHandles();

    EXPECT_FALSE(console.Start(window.Handle(), L"C:\\no such folder here"));
    EXPECT_FALSE(console.IsRunning());
    EXPECT_FALSE(console.WriteLine(L"dir\r\n"));
    EXPECT_EQ(handlesBefore, consoletest::CountOpenHandles());

    const std::size_t seen = window.Got().output.size();
    ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
    ASSERT_TRUE(window.WaitForPrompt(seen));
    console.Stop();
}

TEST(ConsoleProcessLifecycle, StartStopCyclesLeakNoHandle)
{
    CollectingWindow window;
    console::ConsoleProcess console;
    auto cycle = [&] {
        const std::size_t seen = window.Got().output.size();
        ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
        ASSERT_TRUE(window.WaitForPrompt(seen));
        console.Stop();
    };
    cycle();
    const int before = consoletest::CountOpenHandles();
    for (int round = 0; round < 3; ++round)
        cycle();
    EXPECT_EQ(before, consoletest::CountOpenHandles());

    const std::size_t seen = window.Got().output.size();
    ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
    ASSERT_TRUE(window.WaitForPrompt(seen));
    ASSERT_TRUE(console.WriteLine(L"exit\r\n"));
    ASSERT_TRUE(window.WaitForExited());
    console.Stop();
    EXPECT_EQ(before, consoletest::CountOpenHandles());
}

}  // namespace
