#include "support/UniqueHandle.h"

#include <gtest/gtest.h>

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

}  // namespace
