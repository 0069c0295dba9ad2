#include "ConsoleTestSupport.h"

#include "console/ConsoleProcess.h"

#include <gtest/gtest.h>

#include <string>

using consoletest::CollectingWindow;
using consoletest::TemporaryFolder;

namespace {

constexpr wchar_t HolderEventVariable[] = L"BRIMBLESTONE_HOLDER_EVENT";

std::wstring OwnPath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

TEST(ConsoleProcessStop, StopWhileOutputFloodsInReturnsAndDeliversNothingAfterwards)
{
    TemporaryFolder folder(L"brimblestone flood");
    folder.WriteFile(L"flood.txt", std::string(4 * 1024 * 1024, 'x'));
    CollectingWindow window;
    console::ConsoleProcess console;
    ASSERT_TRUE(console.Start(window.Handle(), folder.Path().c_str()));
    ASSERT_TRUE(window.WaitForPrompt(0));
    const std::size_t seen = window.Got().output.size();
    ASSERT_TRUE(console.WriteLine(L"type flood.txt\r\n"));
    ASSERT_TRUE(window.PumpUntil([&] { return window.Got().output.size() > seen + 4096; }));

    console.Stop();
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
    const std::wstring eventName = L"Brimblestone holder " + std::to_wstring(::GetCurrentProcessId());
    support::UniqueHandle release(::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    ::SetEnvironmentVariableW(HolderEventVariable, eventName.c_str());
    CollectingWindow window;
    console::ConsoleProcess console;
    ASSERT_TRUE(console.Start(window.Handle(), L"C:\\"));
    ::SetEnvironmentVariableW(HolderEventVariable, nullptr);
    ASSERT_TRUE(window.WaitForPrompt(0));
    const std::wstring holder = L"\"" + OwnPath() +
                                L"\" --gtest_also_run_disabled_tests --gtest_filter=ConsoleHolder.DISABLED_HoldOutputOpen\r\n";
    ASSERT_TRUE(console.WriteLine(holder.c_str()));
    ASSERT_TRUE(window.PumpUntil([&] { return window.Got().output.find(L"holding the output") != std::wstring::npos; }));

    const ULONGLONG started = ::GetTickCount64();
    console.Stop();
    EXPECT_LT(::GetTickCount64() - started, consoletest::GenerousBound);
    EXPECT_FALSE(console.IsRunning());

    const std::size_t afterStop = window.Got().output.size();
    ::SetEvent(release.Get());
    window.ProcessPending();
    EXPECT_EQ(afterStop, window.Got().output.size());
}

// Run by the interpreter in the test above, never on its own: prints, then holds its inherited
// output until the test releases it.
TEST(ConsoleHolder, DISABLED_HoldOutputOpen)
{
    wchar_t eventName[128] = {};
    if (!::GetEnvironmentVariableW(HolderEventVariable, eventName, 128))
        GTEST_SKIP();
    support::UniqueHandle release(::OpenEventW(SYNCHRONIZE, FALSE, eventName));
    const char text[] = "holding the output\r\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, sizeof(text) - 1, &written, nullptr);
    ::WaitForSingleObject(release.Get(), 60000);
}

}  // namespace
