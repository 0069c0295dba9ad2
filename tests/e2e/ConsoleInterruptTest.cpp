#include "ServerLibrary.h"

#include "console/ConsoleInterruptHelper.h"
#include "console/ConsoleProcessList.h"
#include "support/UniqueHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD Bound = 20000;
constexpr DWORD GotCtrlC = 30;

constexpr wchar_t ReadyVariable[] = L"BRIMBLESTONE_INTERRUPT_READY";

// This test program, in a console of its own, waiting for the console's signal.
class ProgramInItsOwnConsole {
public:
    ProgramInItsOwnConsole()
    {
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine =
            L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=InterruptHelper.*";
        const std::wstring readyName = L"Brimblestone interrupt ready " + std::to_wstring(::GetCurrentProcessId());
        const support::UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
        ::SetEnvironmentVariableW(ReadyVariable, readyName.c_str());
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION created = {};
        const BOOL started = ::CreateProcessW(self, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                                              nullptr, nullptr, &startup, &created);
        ::SetEnvironmentVariableW(ReadyVariable, nullptr);
        if (!started)
            return;
        program.Reset(created.hProcess);
        const support::UniqueHandle thread(created.hThread);
        id = created.dwProcessId;
        isReady = ::WaitForSingleObject(ready.Get(), Bound) == WAIT_OBJECT_0;
    }
    ~ProgramInItsOwnConsole()
    {
        if (program)
            ::TerminateProcess(program.Get(), 1);
    }

    bool IsReady() const { return isReady; }
    DWORD Id() const { return id; }
    HANDLE Process() const { return program.Get(); }

private:
    support::UniqueHandle program;
    DWORD id = 0;
    bool isReady = false;
};

// The library's helper entry point, run by rundll32, delivers the console's own Ctrl+C to the
// programs of that console, from outside this process. (Wine delivers no Ctrl+Break to a whole
// console, so only Ctrl+C is checked here.)
TEST(ConsoleInterrupt, HelperSendsTheConsolesCtrlCToItsProgram)
{
    const e2e::ServerLibrary library(e2e::LibraryPath());
    ASSERT_TRUE(library.IsLoaded());
    const ProgramInItsOwnConsole program;
    ASSERT_TRUE(program.IsReady());

    EXPECT_TRUE(console::StartInterruptHelper(library.Module(), program.Id(), false));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(program.Process(), Bound));
    DWORD exitCode = 0;
    ::GetExitCodeProcess(program.Process(), &exitCode);
    EXPECT_EQ(GotCtrlC, exitCode);
}

// Another helper lists the processes attached to a console, itself left out; a process that has
// ended has no console to list.
TEST(ConsoleInterrupt, HelperListsTheProcessesAttachedToTheConsole)
{
    const e2e::ServerLibrary library(e2e::LibraryPath());
    ASSERT_TRUE(library.IsLoaded());
    const ProgramInItsOwnConsole program;
    ASSERT_TRUE(program.IsReady());

    const auto listed = console::ListConsoleProcesses(library.Module(), {program.Id()}, Bound);
    ASSERT_TRUE(listed);
    EXPECT_EQ(std::vector<DWORD>{program.Id()}, *listed);

    ::TerminateProcess(program.Process(), 1);
    ::WaitForSingleObject(program.Process(), Bound);
    EXPECT_FALSE(console::ListConsoleProcesses(library.Module(), {program.Id()}, Bound));
}

TEST(ConsoleInterrupt, NoHelperWithoutTheEntryPoint)
{
    EXPECT_FALSE(console::StartInterruptHelper(::GetModuleHandleW(nullptr), ::GetCurrentProcessId(), false));
    EXPECT_FALSE(console::ListConsoleProcesses(::GetModuleHandleW(nullptr), {::GetCurrentProcessId()}, Bound));
}

HANDLE signalled = nullptr;
DWORD signal = 0;

BOOL WINAPI NoteSignal(DWORD event)
{
    signal = event;
    ::SetEvent(signalled);
    return TRUE;
}

// Run in a console of its own by the test above, never on its own: ends with the signal it got.
TEST(InterruptHelper, DISABLED_WaitForTheConsolesSignal)
{
    support::UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    signalled = event.Get();
    ::SetConsoleCtrlHandler(NoteSignal, TRUE);
    wchar_t readyName[128] = {};
    if (!::GetEnvironmentVariableW(ReadyVariable, readyName, 128))
        GTEST_SKIP();
    support::UniqueHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, readyName));
    ::SetEvent(ready.Get());
    if (::WaitForSingleObject(event.Get(), 30000) == WAIT_OBJECT_0)
        ::ExitProcess(signal == CTRL_C_EVENT ? GotCtrlC : 1);
}

}  // namespace
