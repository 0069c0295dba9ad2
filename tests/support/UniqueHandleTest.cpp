#include "support/UniqueHandle.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

namespace {

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesOnceOnResetMoveAndDestruction)
{
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        support::UniqueHandle first(raw);
        support::UniqueHandle second(std::move(first));
        EXPECT_FALSE(first.IsHeld());
        EXPECT_TRUE(IsOpen(raw));
        first = std::move(second);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    support::UniqueHandle released(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE kept = released.Release();
    EXPECT_TRUE(IsOpen(kept));
    support::UniqueHandle(kept).Reset();
    EXPECT_FALSE(IsOpen(kept));
}

TEST(UniqueHandle, FindHandleTreatsInvalidValueAsEmpty)
{
    support::UniqueFindHandle none;
    EXPECT_FALSE(none.IsHeld());
    EXPECT_EQ(INVALID_HANDLE_VALUE, none.Get());
}

// A file that could not be opened is INVALID_HANDLE_VALUE: empty, never closed.
TEST(UniqueHandle, FileHandleTreatsInvalidValueAsEmptyAndClosesAnOpenFile)
{
    const support::UniqueFileHandle missing(::CreateFileW(L"C:\\no such folder\\none.txt", GENERIC_READ, 0, nullptr,
                                                          OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    support::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    ASSERT_TRUE(snapshot);
    const HANDLE held = snapshot.Get();
    snapshot.Reset();
    EXPECT_FALSE(IsOpen(held));
}

}  // namespace
