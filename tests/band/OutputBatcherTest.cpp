#include "band/OutputBatcher.h"

#include <gtest/gtest.h>

namespace {

using band::OutputBatcher;

TEST(OutputBatcher, ShowsFirstChunkAtOnceThenGathersWithinTheInterval)
{
    OutputBatcher batcher;
    EXPECT_TRUE(batcher.Add(L"C:\\>", 1000));
    EXPECT_EQ(L"C:\\>", batcher.Take());
    batcher.Shown(1000, 1001);

    EXPECT_FALSE(batcher.Add(L"a", 1002));
    EXPECT_FALSE(batcher.Add(L"b", 1010));
    EXPECT_TRUE(batcher.HasPending());
    EXPECT_TRUE(batcher.Add(L"c", 1001 + OutputBatcher::MinimumInterval));
    EXPECT_EQ(L"abc", batcher.Take());
    EXPECT_FALSE(batcher.HasPending());
}

TEST(OutputBatcher, ShowsAtOnceWhenTheGatheredTextReachesTheFlushSize)
{
    OutputBatcher batcher;
    batcher.Shown(0, 0);
    const std::wstring chunk(512, L'x');
    size_t gathered = 0;
    while (!batcher.Add(chunk.c_str(), 1))
        gathered += chunk.size();
    EXPECT_EQ(OutputBatcher::FlushSize, gathered + chunk.size());
    EXPECT_EQ(OutputBatcher::FlushSize, batcher.Take().size());
}

TEST(OutputBatcher, SlowAppendsStretchTheInterval)
{
    OutputBatcher batcher;
    batcher.Shown(100, 180);
    EXPECT_EQ(80u, batcher.Interval());
    EXPECT_FALSE(batcher.Add(L"x", 180 + 79));
    EXPECT_TRUE(batcher.Add(L"y", 180 + 80));

    batcher.Shown(300, 301);
    EXPECT_EQ(OutputBatcher::MinimumInterval, batcher.Interval());
}

TEST(OutputBatcher, TickCountWrapDoesNotStallShowing)
{
    OutputBatcher batcher;
    batcher.Shown(0xFFFFFFF0u, 0xFFFFFFF8u);
    EXPECT_FALSE(batcher.Add(L"x", 0xFFFFFFFFu));
    EXPECT_TRUE(batcher.Add(L"y", 0xFFFFFFF8u + OutputBatcher::MinimumInterval));
}

}  // namespace
