#include "session/OutputBatcher.h"

#include <gtest/gtest.h>

namespace {

using session::OutputBatcher;

TEST(OutputBatcher, ShowsFirstChunkAtOnceThenGathersWithinTheInterval)
{
    OutputBatcher batcher;
    EXPECT_EQ(0u, batcher.Wait(1000));
    batcher.Add(L"C:\\>");
    EXPECT_EQ(L"C:\\>", batcher.Take());
    batcher.Shown(1000, 1001, 4, false);

    batcher.Add(L"a");
    EXPECT_EQ(OutputBatcher::MinimumInterval - 1, batcher.Wait(1002));
    batcher.Add(L"b");
    EXPECT_NE(0u, batcher.Wait(1010));
    batcher.Add(L"c");
    EXPECT_EQ(0u, batcher.Wait(1001 + OutputBatcher::MinimumInterval));
    EXPECT_EQ(L"abc", batcher.Take());
    EXPECT_FALSE(batcher.HasPending());
}

// While more comes than a show lays out, shows are spaced by their cost: the window's thread spends
// at most one part in FloodShare of a flood showing it, but the screen never lags far behind.
TEST(OutputBatcher, AFloodsShowsTakeOnlyAShareOfTheWindowsTime)
{
    OutputBatcher batcher;
    batcher.Shown(0, 5, 1500, true);
    EXPECT_EQ(5 * (OutputBatcher::FloodShare - 1), batcher.Interval());
    EXPECT_EQ(1u, batcher.Wait(5 + batcher.Interval() - 1));
    EXPECT_EQ(0u, batcher.Wait(5 + batcher.Interval()));

    batcher.Shown(1000, 1002, 1500, true);
    EXPECT_EQ(OutputBatcher::MinimumInterval, batcher.Interval()) << "never more than once a frame";
    batcher.Shown(2000, 2040, 1500, true);
    EXPECT_EQ(OutputBatcher::LongestFloodInterval, batcher.Interval()) << "slow shows still come every few frames";
}

TEST(OutputBatcher, SlowAppendsStretchTheInterval)
{
    OutputBatcher batcher;
    batcher.Shown(100, 180, 1000, false);
    EXPECT_EQ(80u, batcher.Interval());
    EXPECT_EQ(1u, batcher.Wait(180 + 79));
    EXPECT_EQ(0u, batcher.Wait(180 + 80));

    batcher.Shown(300, 301, 1000, false);
    EXPECT_EQ(OutputBatcher::MinimumInterval, batcher.Interval());
}

TEST(OutputBatcher, TickCountWrapDoesNotStallShowing)
{
    OutputBatcher batcher;
    batcher.Shown(0xFFFFFFF0u, 0xFFFFFFF8u, 1000, false);
    EXPECT_NE(0u, batcher.Wait(0xFFFFFFFFu));
    EXPECT_EQ(0u, batcher.Wait(0xFFFFFFF8u + OutputBatcher::MinimumInterval));
}

// One endless line costs far more per character to lay out than ordinary lines: a show lays out
// only what the last ones laid out in the target stretch. A show that laid out little in little
// time (a flood's newest lines) says nothing of what more would cost.
TEST(OutputBatcher, AfterASlowShowOnlyWhatFitsTheStretchIsLaidOut)
{
    OutputBatcher batcher;
    batcher.Shown(0, 100, 32768, false);
    EXPECT_EQ(32768 * OutputBatcher::TargetStretch / 100, batcher.TakeSize());

    batcher.Shown(1000, 2000, batcher.TakeSize(), false);
    EXPECT_EQ(OutputBatcher::MinimumTake, batcher.TakeSize()) << "a very slow show still lays out something";
    batcher.Shown(2000, 2000, OutputBatcher::MinimumTake, false);
    EXPECT_EQ(3 * OutputBatcher::MinimumTake / 2, batcher.TakeSize()) << "quick shows lay out more again, by half at most";
    batcher.Shown(3000, 3020, 100, true);
    EXPECT_EQ(3 * OutputBatcher::MinimumTake / 2, batcher.TakeSize());
}

}  // namespace
