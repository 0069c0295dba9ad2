#include "console/ReadPacing.h"

#include <gtest/gtest.h>

namespace {

using console::ReadPacing;
using std::chrono::milliseconds;

// The pipe gathers output between the small reads of a stream only: the first read after a quiet
// spell, and a read that filled much of the buffer, are followed at once by the next read.
TEST(ReadPacing, OnlySmallReadsOfAStreamArePaused)
{
    ReadPacing pacing(64 * 1024);
    const ReadPacing::Clock::time_point start = ReadPacing::Clock::now();
    EXPECT_EQ(0u, pacing.After(40, start)) << "an answer after a quiet spell";
    EXPECT_EQ(ReadPacing::Pause, pacing.After(512, start + milliseconds(1))) << "a small read of a stream";
    EXPECT_EQ(0u, pacing.After(40 * 1024, start + milliseconds(7))) << "a read that filled much of the buffer";
    EXPECT_EQ(ReadPacing::Pause, pacing.After(512, start + milliseconds(8)));
    EXPECT_EQ(0u, pacing.After(40, start + milliseconds(8) + ReadPacing::StreamGap)) << "the next prompt, after a pause";
}

}  // namespace
