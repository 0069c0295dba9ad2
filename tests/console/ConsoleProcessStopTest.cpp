#include "ConsoleTestSupport.h"

#include "console/ConsoleProcess.h"
#include "shared/BuiltPrograms.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

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

// An interpreter of the test's, at its first prompt, whose processes the test can watch.
class WatchedInterpreter {
public:
    explicit WatchedInterpreter(HMODULE helperLibrary)
    {
        const auto interpreters = consoletest::ChildProcessIds(L"cmd.exe");
        started = window.Start(console, L"C:\\", helperLibrary) && window.WaitForPrompt(0);
        id = consoletest::NewProcessId(interpreters, consoletest::ChildProcessIds(L"cmd.exe"));
    }

    bool IsStarted() const { return started && id != 0; }
    DWORD Id() const { return id; }
    console::ConsoleProcess& Console() { return console; }

    // Runs the line and waits for the prompt after it.
    bool Run(const std::wstring& line)
    {
        const std::size_t seen = window.Got().output.size();
        return console.WriteLine(line.c_str()) && window.WaitForPrompt(seen);
    }
    // Runs the line and waits until the output says `said`.
    bool RunUntil(const std::wstring& line, const wchar_t* said)
    {
        const std::size_t seen = window.Got().output.size();
        return console.WriteLine(line.c_str()) &&
               window.PumpUntil([&] { return window.Got().output.find(said, seen) != std::wstring::npos; });
    }
    // Ends the interpreter as "exit" does and waits until its end is told.
    bool Exit() { return console.WriteLine(L"exit\r\n") && window.WaitForExited(); }
    // Runs the helper test `name` in a console of its own ("start"), and holds it once it runs.
    support::UniqueHandle StartInItsOwnConsole(const consoletest::HelperProgram& holder, const wchar_t* name)
    {
        const auto helpers = consoletest::ProcessIds(OwnName().c_str());
        if (!Run(L"start \"\" " + holder.CommandLine(name)))
            return support::UniqueHandle();
        return NewProcess(helpers, OwnName().c_str());
    }
    // The one helper the interpreter runs now, held.
    support::UniqueHandle RunningHelper() const
    {
        const auto running = consoletest::ChildProcessIds(OwnName().c_str(), id);
        return running.size() == 1 ? consoletest::OpenForExitCode(running[0]) : support::UniqueHandle();
    }
    // The one new process named `exeName` once it runs, from a list taken before it was started.
    support::UniqueHandle NewProcess(const std::vector<DWORD>& before, const wchar_t* exeName)
    {
        DWORD found = 0;
        window.PumpUntil([&] { return (found = consoletest::NewProcessId(before, consoletest::ProcessIds(exeName))) != 0; });
        return consoletest::OpenForExitCode(found);
    }

private:
    CollectingWindow window;
    console::ConsoleProcess console;
    bool started = false;
    DWORD id = 0;
};

// A program with windows the test started through the interpreter: ended at the end of the test.
struct WindowProgram {
    support::UniqueHandle process;
    ~WindowProgram()
    {
        if (process)
            ::TerminateProcess(process.Get(), 0);
    }
};

bool HasEnded(HANDLE process)
{
    return ::WaitForSingleObject(process, consoletest::GenerousBound) == WAIT_OBJECT_0;
}

bool StillRuns(HANDLE process)
{
    return ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

// Closing ends what runs in the interpreter's console, as closing a console window would. A window
// opened from it stays, and so does a program started in a console of its own, whatever it does
// there. Where the console cannot be asked (no helper library), every console program the
// interpreter started is ended.
TEST(ConsoleProcessStop, StopEndsTheProgramsOfTheInterpretersConsoleOnly)
{
    for (const HMODULE library : {testsupport::BuiltHelperLibrary(), HMODULE{}}) {
        SCOPED_TRACE(library ? "asking the console" : "without the helper library");
        consoletest::HelperProgram holder;
        WatchedInterpreter interpreter(library);
        ASSERT_TRUE(interpreter.IsStarted());
        const auto notepads = consoletest::ProcessIds(L"notepad.exe");
        ASSERT_TRUE(interpreter.Run(L"start notepad.exe\r\n"));
        // Started through "start", the window's parent may be a starter program that is gone already.
        const WindowProgram notepad{interpreter.NewProcess(notepads, L"notepad.exe")};
        ASSERT_TRUE(notepad.process);
        const WindowProgram ownConsole{interpreter.StartInItsOwnConsole(holder, L"HoldOutputOpen")};
        ASSERT_TRUE(ownConsole.process);
        ASSERT_TRUE(interpreter.RunUntil(holder.CommandLine(L"HoldOutputOpen"), L"holding the output"));
        const auto program = interpreter.RunningHelper();
        ASSERT_TRUE(program);

        interpreter.Console().Stop();
        EXPECT_TRUE(HasEnded(program.Get()));
        EXPECT_TRUE(StillRuns(notepad.process.Get()));
        if (library) {
            EXPECT_TRUE(StillRuns(ownConsole.process.Get())) << "started in a console of its own";
        }
        holder.Release();
    }
}

// An interpreter that ended by itself leaves its console to the programs still attached to it:
// closing then ends those, found through the console programs the interpreter started, and a
// program started in a console of its own stays.
TEST(ConsoleProcessStop, AfterTheInterpreterEndedStopEndsWhatRunsOnInItsConsoleOnly)
{
    consoletest::HelperProgram holder;
    WatchedInterpreter interpreter(testsupport::BuiltHelperLibrary());
    ASSERT_TRUE(interpreter.IsStarted());
    const WindowProgram ownConsole{interpreter.StartInItsOwnConsole(holder, L"HoldOutputOpen")};
    ASSERT_TRUE(ownConsole.process);
    const auto helpers = consoletest::ProcessIds(OwnName().c_str());
    ASSERT_TRUE(interpreter.RunUntil(L"start /b \"\" " + holder.CommandLine(L"HoldOutputOpen"), L"holding the output"));
    const WindowProgram background{interpreter.NewProcess(helpers, OwnName().c_str())};
    ASSERT_TRUE(background.process);
    ASSERT_TRUE(interpreter.Exit());

    interpreter.Console().Stop();
    EXPECT_TRUE(HasEnded(background.process.Get()));
    EXPECT_TRUE(StillRuns(ownConsole.process.Get())) << "started in a console of its own";
    holder.Release();
}

// Ending the running programs, as a second Ctrl+Break does and as Ctrl+C does where it cannot be
// sent, ends the console programs of the interpreter's console and nothing else: the interpreter
// answers on, and a window the program opened stays, as does a program started in a console of
// its own. Where the console cannot be asked, the program the interpreter runs is ended, with the
// console programs below it, and its window stays all the same.
TEST(ConsoleProcessStop, EndingTheRunningProgramsSparesTheInterpreterAndWindows)
{
    for (const HMODULE library : {testsupport::BuiltHelperLibrary(), HMODULE{}}) {
        SCOPED_TRACE(library ? "asking the console" : "without the helper library");
        consoletest::HelperProgram holder;
        WatchedInterpreter interpreter(library);
        ASSERT_TRUE(interpreter.IsStarted());
        const WindowProgram ownConsole{interpreter.StartInItsOwnConsole(holder, L"HoldOutputOpen")};
        ASSERT_TRUE(ownConsole.process);
        const auto notepads = consoletest::ProcessIds(L"notepad.exe");
        ASSERT_TRUE(interpreter.RunUntil(holder.CommandLine(L"StartWindowAndHold"), L"window started"));
        const WindowProgram notepad{interpreter.NewProcess(notepads, L"notepad.exe")};
        ASSERT_TRUE(notepad.process);
        const auto program = interpreter.RunningHelper();
        ASSERT_TRUE(program);

        EXPECT_EQ(std::vector<std::wstring>{OwnName()}, interpreter.Console().EndRunningPrograms());
        EXPECT_TRUE(HasEnded(program.Get()));
        EXPECT_TRUE(StillRuns(notepad.process.Get()));
        if (library) {
            EXPECT_TRUE(StillRuns(ownConsole.process.Get())) << "started in a console of its own";
        }
        EXPECT_TRUE(interpreter.Run(L"echo still answering\r\n"));
        EXPECT_TRUE(interpreter.Console().EndRunningPrograms().empty());
        holder.Release();
    }
}

// Run by the interpreter in the test above, never on its own: opens a window program, says so, and
// holds until the test releases it.
TEST(ConsoleHelper, DISABLED_StartWindowAndHold)
{
    wchar_t commandLine[] = L"notepad.exe";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &started));
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    const char text[] = "window started\r\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, sizeof(text) - 1, &written, nullptr);
    if (!consoletest::HelperProgram::WaitForRelease())
        GTEST_SKIP();
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
