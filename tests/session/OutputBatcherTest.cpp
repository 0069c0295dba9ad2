#include "session/OutputBatcher.h"

#include <gtest/gtest.h>

namespace {

using session::OutputBatcher;

TEST(OutputBatcher, ShowsFirstChunkAtOnceThenGathersWithinTheInterval)
{
    OutputBatcher batcher;
    EXPECT_TRUE(batcher.Add(L"C:\\>", 1000));
    EXPECT_EQ(L"C:\\>", batcher.Take());
    batcher.Shown(1000, 1001, 4);

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
    batcher.Shown(0, 0, 0);
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
    batcher.Shown(100, 180, 1000);
    EXPECT_EQ(80u, batcher.Interval());
    EXPECT_FALSE(batcher.Add(L"x", 180 + 79));
    EXPECT_TRUE(batcher.Add(L"y", 180 + 80));

    batcher.Shown(300, 301, 1000);
    EXPECT_EQ(OutputBatcher::MinimumInterval, batcher.Interval());
}

TEST(OutputBatcher, TickCountWrapDoesNotStallShowing)
{
    OutputBatcher batcher;
    batcher.Shown(0xFFFFFFF0u, 0xFFFFFFF8u, 1000);
    EXPECT_FALSE(batcher.Add(L"x", 0xFFFFFFFFu));
    EXPECT_TRUE(batcher.Add(L"y", 0xFFFFFFF8u + OutputBatcher::MinimumInterval));
}

// One endless line costs far more per character to lay out than ordinary lines: an append takes
// only what the last one showed in the target stretch, and never half a character.
TEST(OutputBatcher, AfterASlowAppendOnlyWhatFitsTheStretchIsTaken)
{
    OutputBatcher batcher;
    batcher.Shown(0, 400, 32768);
    const size_t fitting = 32768 * OutputBatcher::TargetStretch / 400;
    std::wstring text(fitting - 1, L'x');
    text += L"\xD83D\xDE00";
    text += std::wstring(OutputBatcher::FlushSize - text.size(), L'y');
    EXPECT_TRUE(batcher.Add(text.c_str(), 1000));
    EXPECT_EQ(text.substr(0, fitting - 1), batcher.Take());
    EXPECT_EQ(text.substr(fitting - 1, fitting), batcher.Take());

    batcher.Shown(1000, 1001, 16);
    EXPECT_EQ(OutputBatcher::MinimumTake, batcher.Take().size()) << "a very slow append still shows something";
    batcher.Shown(2000, 2000, 16);
    batcher.Shown(3000, 3000, 16);
    EXPECT_EQ(4 * OutputBatcher::MinimumTake, batcher.Take().size()) << "quick appends take more again";
}

}  // namespace
