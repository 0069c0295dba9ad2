#include "ConsoleTestSupport.h"

#include "console/ConsoleProcess.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

using consoletest::CollectingWindow;
using consoletest::TemporaryFolder;

namespace {

std::wstring OwnName()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = std::wcsrchr(path, L'\\');
    return name != nullptr ? name + 1 : path;
}

TEST(ConsoleProcessStop, StopWhileOutputFloodsInReleasesTheWaitingReaderAndDeliversNothingAfterwards)
{
    TemporaryFolder folder(L"brimblestone flood");
    folder.WriteFile(L"flood.txt", std::string(4 * 1024 * 1024, 'x'));
    CollectingWindow window;
    console::ConsoleProcess console;
    ASSERT_TRUE(window.Start(console, folder.Path().c_str()));
    ASSERT_TRUE(window.WaitForPrompt(0));
    const std::size_t seen = window.Got().output.size();
    ASSERT_TRUE(console.WriteLine(L"type flood.txt\r\n"));
    ASSERT_TRUE(window.PumpUntil([&] { return window.Got().output.size() > seen + 4096; }));
    // Unattended, the reader fills its queue and waits for the window to take from it.
    ::Sleep(500);

    const ULONGLONG started = ::GetTickCount64();
    console.Stop();
    // A reader still waiting would hold Stop for the join's whole bound of three seconds.
    EXPECT_LT(::GetTickCount64() - started, 2500u);
    const std::size_t afterStop = window.Got().output.size();
    window.ProcessPending();
    EXPECT_EQ(afterStop, window.Got().output.size());
    EXPECT_FALSE(console.IsRunning());
    EXPECT_EQ(0, window.Got().exited);
}

// A program started from the interpreter keeps the interpreter's output pipe open after the
// interpreter itself is gone. Stop must not wait for that program to end.
TEST(ConsoleProcessStop, StopReturnsWhileAProgramStartedFromTheInterpreterHoldsItsOutput)
{
    consoletest::HelperProgram holder;
    CollectingWindow window;
    console::ConsoleProcess console;
    ASSERT_TRUE(window.Start(console, L"C:\\"));
    ASSERT_TRUE(window.WaitForPrompt(0));
    ASSERT_TRUE(console.WriteLine(holder.CommandLine(L"HoldOutputOpen").c_str()));
    ASSERT_TRUE(window.PumpUntil([&] { return window.Got().output.find(L"holding the output") != std::wstring::npos; }));

    const ULONGLONG started = ::GetTickCount64();
    console.Stop();
    EXPECT_LT(::GetTickCount64() - started, consoletest::GenerousBound);
    EXPECT_FALSE(console.IsRunning());

    const std::size_t afterStop = window.Got().output.size();
    holder.Release();
    window.ProcessPending();
    EXPECT_EQ(afterStop, window.Got().output.size());
}

// Programs running in the interpreter's console end with it; a window opened from it stays.
TEST(ConsoleProcessStop, StopEndsTheConsolesProgramsButNotWindowsStartedFromIt)
{
    consoletest::HelperProgram holder;
    CollectingWindow window;
    console::ConsoleProcess console;
    const auto interpreters = consoletest::ChildProcessIds(L"cmd.exe");
    const auto notepads = consoletest::ProcessIds(L"notepad.exe");
    ASSERT_TRUE(window.Start(console, L"C:\\"));
    ASSERT_TRUE(window.WaitForPrompt(0));
    const DWORD interpreter = consoletest::NewProcessId(interpreters, consoletest::ChildProcessIds(L"cmd.exe"));
    const std::size_t seen = window.Got().output.size();
    ASSERT_TRUE(console.WriteLine(L"start notepad.exe\r\n"));
    ASSERT_TRUE(window.WaitForPrompt(seen));
    ASSERT_TRUE(console.WriteLine(holder.CommandLine(L"HoldOutputOpen").c_str()));
    ASSERT_TRUE(window.PumpUntil([&] { return window.Got().output.find(L"holding the output") != std::wstring::npos; }));
    const auto programs = consoletest::ChildProcessIds(OwnName().c_str(), interpreter);
    ASSERT_EQ(1u, programs.size());
    const auto program = consoletest::OpenForExitCode(programs[0]);
    // Started through "start", the window's parent may be a starter program that is gone already.
    const auto notepad =
        consoletest::OpenForExitCode(consoletest::NewProcessId(notepads, consoletest::ProcessIds(L"notepad.exe")));
    ASSERT_TRUE(notepad);

    console.Stop();
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(program.Get(), consoletest::GenerousBound));
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(notepad.Get(), 0));
    ::TerminateProcess(notepad.Get(), 0);
}

// Run by the interpreter in the tests above, never on its own: prints, then holds its inherited
// output until the test releases it.
TEST(ConsoleHelper, DISABLED_HoldOutputOpen)
{
    const char text[] = "holding the output\r\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, sizeof(text) - 1, &written, nullptr);
    if (!consoletest::HelperProgram::WaitForRelease())
        GTEST_SKIP();
}

}  // namespace
