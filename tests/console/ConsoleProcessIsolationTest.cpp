#include "ConsoleTestSupport.h"

#include "console/ConsoleProcess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using consoletest::CollectingWindow;

namespace {

bool IsWriteEndHeldElsewhere(HANDLE readEnd)
{
    DWORD available = 0;
    return ::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) != FALSE;
}

TEST(ConsoleProcessIsolation, InterpreterInheritsNoOtherInheritableHandleOfTheHost)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    support::UniqueHandle readEnd;
    support::UniqueHandle writeEnd;
    ASSERT_TRUE(::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inheritable, 0));

    CollectingWindow window;
    console::ConsoleProcess console;
    ASSERT_TRUE(window.Start(console, L"C:\\"));
    ASSERT_TRUE(window.WaitForPrompt(0));
    writeEnd.Reset();
    EXPECT_FALSE(IsWriteEndHeldElsewhere(readEnd.Get()));
    console.Stop();
}

// One band's interpreter ending must end that band's readers even while another band on another
// thread started its interpreter at the same moment.
TEST(ConsoleProcessIsolation, InterpretersStartedTogetherOnTwoThreadsEndIndependently)
{
    std::atomic<int> ready{0};
    support::UniqueHandle startTogether(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    support::UniqueHandle firstDone(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool otherStillRunning = false;
    bool otherAnswers = false;

    std::thread other([&] {
        CollectingWindow window;
        console::ConsoleProcess console;
        ++ready;
        ::WaitForSingleObject(startTogether.Get(), consoletest::GenerousBound);
        window.Start(console, L"C:\\");
        window.WaitForPrompt(0);
        window.PumpUntil([&] { return ::WaitForSingleObject(firstDone.Get(), 0) == WAIT_OBJECT_0; });
        otherStillRunning = console.IsRunning() != FALSE;
        const std::size_t seen = window.Got().output.size();
        console.WriteLine(L"echo still here\r\n");
        window.WaitForPrompt(seen);
        otherAnswers = window.Got().output.find(L"still here", seen) != std::wstring::npos;
        console.Stop();
    });

    CollectingWindow window;
    console::ConsoleProcess console;
    while (ready == 0)
        std::this_thread::yield();
    ::SetEvent(startTogether.Get());
    ASSERT_TRUE(window.Start(console, L"C:\\"));
    ASSERT_TRUE(window.WaitForPrompt(0));
    ASSERT_TRUE(console.WriteLine(L"exit\r\n"));
    EXPECT_TRUE(window.WaitForExited());
    // Nobody but the ended interpreter (and its console host, briefly) held this input pipe.
    EXPECT_TRUE(window.PumpUntil([&] { return !console.WriteLine(L"rem\r\n"); }));
    console.Stop();
    ::SetEvent(firstDone.Get());
    other.join();
    EXPECT_TRUE(otherStillRunning);
    EXPECT_TRUE(otherAnswers);
    EXPECT_EQ(1, window.Got().exited);
}

}  // namespace
