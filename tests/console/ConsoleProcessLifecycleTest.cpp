#include "ConsoleTestSupport.h"

#include "console/ConsoleProcess.h"

#include <gtest/gtest.h>

#include <string>

using consoletest::ChildProcessIds;
using consoletest::CollectingWindow;
using consoletest::Delivered;
using consoletest::ExitCodeOf;

namespace {

constexpr wchar_t Interpreter[] = L"cmd.exe";

class ConsoleProcessLifecycle : public ::testing::Test {
protected:
    // Starts the interpreter, waits for its prompt and returns a handle that outlives Stop.
    support::UniqueHandle StartInterpreter()
    {
        const auto before = ChildProcessIds(Interpreter);
        const std::size_t seen = window.Got().output.size();
        EXPECT_TRUE(window.Start(console, L"C:\\"));
        auto process = consoletest::OpenForExitCode(consoletest::NewProcessId(before, ChildProcessIds(Interpreter)));
        EXPECT_TRUE(process);
        EXPECT_TRUE(window.WaitForPrompt(seen));
        return process;
    }

    void ExitInterpreter()
    {
        ASSERT_TRUE(console.WriteLine(L"exit\r\n"));
        ASSERT_TRUE(window.WaitForExited());
    }

    CollectingWindow window;
    console::ConsoleProcess console;
};

TEST_F(ConsoleProcessLifecycle, StopIsSafeWhenNeverStartedAndWhenRepeated)
{
    EXPECT_TRUE(console.Stop());
    EXPECT_TRUE(console.Stop());
    EXPECT_FALSE(console.IsRunning());
    EXPECT_FALSE(console.WriteLine(L"dir\r\n"));
}

TEST_F(ConsoleProcessLifecycle, SecondStartWhileRunningCreatesNoInterpreter)
{
    StartInterpreter();
    const auto running = ChildProcessIds(Interpreter);
    EXPECT_TRUE(console.IsRunning());
    EXPECT_FALSE(window.Start(console, L"C:\\"));
    EXPECT_EQ(running, ChildProcessIds(Interpreter));
    EXPECT_TRUE(console.IsRunning());
    EXPECT_TRUE(console.Stop());
    EXPECT_FALSE(console.IsRunning());
    EXPECT_TRUE(console.Stop());
}

TEST_F(ConsoleProcessLifecycle, StopTerminatesWithExitCodeOneAndNeverReportsAnExit)
{
    const auto process = StartInterpreter();
    console.Stop();
    EXPECT_EQ(1u, ExitCodeOf(process.Get()));
    window.ProcessPending();
    EXPECT_EQ(0, window.Got().exited);
    EXPECT_FALSE(console.WriteLine(L"dir\r\n"));
    EXPECT_FALSE(console.WriteLine(L""));
}

TEST_F(ConsoleProcessLifecycle, InterpreterEndingByItselfIsReportedOnceAndNotTerminated)
{
    const auto process = StartInterpreter();
    ExitInterpreter();
    EXPECT_FALSE(console.IsRunning());
    // The interpreter's console host may hold its input a moment longer than the interpreter.
    EXPECT_TRUE(window.PumpUntil([&] { return !console.WriteLine(L"rem\r\n"); }));
    EXPECT_TRUE(console.Stop());
    window.ProcessPending();
    EXPECT_EQ(1, window.Got().exited);
    EXPECT_EQ(0u, ExitCodeOf(process.Get()));
}

TEST_F(ConsoleProcessLifecycle, EverythingWrittenBeforeTheInterpreterEndsArrivesBeforeItsExit)
{
    consoletest::TemporaryFolder folder(L"brimblestone last words");
    std::string content;
    for (int line = 0; content.size() < 256 * 1024; ++line)
        content += "line " + std::to_string(line) + " before the end\r\n";
    content += "the last line\r\n";
    folder.WriteFile(L"last.txt", content);
    StartInterpreter();
    ASSERT_TRUE(console.WriteLine((L"type \"" + folder.Path() + L"\\last.txt\" & exit\r\n").c_str()));
    ASSERT_TRUE(window.WaitForExited());
    const Delivered& got = window.Got();
    EXPECT_EQ(got.output.size(), got.outputAtExit);
    EXPECT_NE(std::wstring::npos, got.output.find(L"the last line\r\n"));
}

TEST_F(ConsoleProcessLifecycle, StartAfterTheInterpreterEndedStartsAFreshOne)
{
    StartInterpreter();
    ExitInterpreter();
    const auto fresh = StartInterpreter();
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(console.IsRunning());
    const std::size_t prompted = window.Got().output.size();
    ASSERT_TRUE(console.WriteLine(L"echo again\r\n"));
    ASSERT_TRUE(window.WaitForPrompt(prompted));
    EXPECT_NE(std::wstring::npos, window.Got().output.find(L"again", prompted));
    console.Stop();
    window.ProcessPending();
    EXPECT_EQ(1, window.Got().exited);
}

TEST_F(ConsoleProcessLifecycle, FailedStartLeavesNothingBehindAndALaterStartWorks)
{
    StartInterpreter();
    console.Stop();
    // A failed start is traced through the debug output, whose first use opens a handle that the
    // process keeps for good: it is opened before counting.
    ::OutputDebugStringW(L"counting handles\n");
    const int handlesBefore = consoletest::CountOpenHandles();

    EXPECT_FALSE(window.Start(console, L"C:\\no such folder here"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DIRECTORY), ::GetLastError()) << "the caller learns why";
    EXPECT_FALSE(console.IsRunning());
    EXPECT_FALSE(console.WriteLine(L"dir\r\n"));
    EXPECT_EQ(handlesBefore, consoletest::CountOpenHandles());

    EXPECT_TRUE(StartInterpreter());
    console.Stop();
}

TEST_F(ConsoleProcessLifecycle, StartStopCyclesLeakNoHandle)
{
    StartInterpreter();
    console.Stop();
    const int before = consoletest::CountOpenHandles();
    for (int round = 0; round < 3; ++round) {
        StartInterpreter();
        console.Stop();
    }
    EXPECT_EQ(before, consoletest::CountOpenHandles());

    StartInterpreter();
    ExitInterpreter();
    console.Stop();
    EXPECT_EQ(before, consoletest::CountOpenHandles());
}

}  // namespace
