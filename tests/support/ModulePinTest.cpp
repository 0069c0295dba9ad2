#include "support/ModulePin.h"
#include "support/UniqueHandle.h"

#include <gtest/gtest.h>

namespace {

DWORD WINAPI EndThroughRelease(void* pinned)
{
    support::ExitThreadReleasing(static_cast<HMODULE>(pinned), 42);
}

// The module stays loaded while a pinned thread runs, and the thread's end gives the pin back.
TEST(ModulePin, PinsTheModuleOfThisCodeUntilTheThreadHasEnded)
{
    const HMODULE pinned = support::PinCodeModule();
    ASSERT_EQ(::GetModuleHandleW(nullptr), pinned);

    support::UniqueHandle thread(::CreateThread(nullptr, 0, EndThroughRelease, pinned, 0, nullptr));
    ASSERT_TRUE(thread.IsHeld());
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread.Get(), 20000));
    DWORD exitCode = 0;
    ASSERT_TRUE(::GetExitCodeThread(thread.Get(), &exitCode));
    EXPECT_EQ(42u, exitCode);
}

}  // namespace
