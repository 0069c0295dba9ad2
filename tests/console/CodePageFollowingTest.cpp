#include "console/CodePageFollowing.h"

#include <gtest/gtest.h>

namespace {

using console::CodePageFollowing;
using Before = CodePageFollowing::BeforeConverting;

// The question goes out only after a quiet check, and an answer asked while output still came
// (the command was still at work) is not trusted: the code page is asked again.
TEST(CodePageFollowing, AsksWhenQuietAndAgainWhenOutputCameWhileAsked)
{
    CodePageFollowing following;
    EXPECT_FALSE(following.IsWatching());
    following.MayHaveChanged();
    following.OutputArrived();
    EXPECT_FALSE(following.IsDueToAsk()) << "output since the last check";
    ASSERT_TRUE(following.IsDueToAsk());
    following.Asked(true);
    EXPECT_FALSE(following.IsDueToAsk()) << "one question at a time";
    following.OutputArrived();
    following.Answered();
    EXPECT_TRUE(following.IsWatching());
    EXPECT_FALSE(following.IsDueToAsk());
    ASSERT_TRUE(following.IsDueToAsk());
    following.Asked(true);
    following.Answered();
    EXPECT_FALSE(following.IsWatching());
    EXPECT_EQ(Before::Known, following.KnowNow());
}

TEST(CodePageFollowing, ALineConvertedBeforeTheAnswerWaitsOnlyForAGoodOne)
{
    CodePageFollowing following;
    following.MayHaveChanged();
    following.Asked(true);
    EXPECT_EQ(Before::AwaitAnswer, following.KnowNow());
    EXPECT_FALSE(following.IsWatching());

    following.MayHaveChanged();
    following.Asked(true);
    following.MayHaveChanged();
    EXPECT_EQ(Before::AskAndAwait, following.KnowNow()) << "a line sent after the question";

    following.MayHaveChanged();
    following.Asked(true);
    following.OutputArrived();
    EXPECT_EQ(Before::AskAndAwait, following.KnowNow()) << "output after the question";

    following.MayHaveChanged();
    EXPECT_EQ(Before::AskAndAwait, following.KnowNow()) << "not asked yet";

    following.MayHaveChanged();
    following.Asked(false);
    EXPECT_FALSE(following.IsWatching()) << "without a helper the code page stays as it is";
    EXPECT_EQ(Before::Known, following.KnowNow());
}

}  // namespace
