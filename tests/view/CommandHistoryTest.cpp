#include "view/CommandHistory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using view::CommandHistory;

std::wstring Older(CommandHistory& history, const std::wstring& typed = L"")
{
    std::wstring shown = L"<unchanged>";
    history.RecallOlder(typed, shown);
    return shown;
}

std::wstring Newer(CommandHistory& history)
{
    std::wstring shown = L"<unchanged>";
    history.RecallNewer(shown);
    return shown;
}

TEST(CommandHistory, KeepsTheNewestThirtyAndStopsAtTheOldest)
{
    CommandHistory history;
    for (int i = 1; i <= 31; ++i)
        history.Submit(L"line " + std::to_wstring(i));
    EXPECT_EQ(30u, history.Count());

    std::wstring last;
    for (int i = 0; i < 30; ++i)
        last = Older(history);
    EXPECT_EQ(L"line 2", last);
    EXPECT_EQ(L"<unchanged>", Older(history));
    EXPECT_EQ(30, history.Position());
}

TEST(CommandHistory, EmptyLinesAreNotRecordedButDuplicatesAndSpacesAre)
{
    CommandHistory history;
    history.Submit(L"");
    history.Submit(L"dir");
    history.Submit(L"dir");
    history.Submit(L"   ");
    EXPECT_EQ(3u, history.Count());
}

TEST(CommandHistory, UpUpDownDownReturnsToTheTypedLine)
{
    CommandHistory history;
    history.Submit(L"first");
    history.Submit(L"second");
    EXPECT_EQ(L"second", Older(history, L"half typed"));
    EXPECT_EQ(L"first", Older(history, L"second edited"));
    EXPECT_EQ(L"second", Newer(history));
    EXPECT_EQ(L"half typed", Newer(history));
    EXPECT_EQ(0, history.Position());
    EXPECT_EQ(L"<unchanged>", Newer(history));
}

TEST(CommandHistory, UpWithEmptyHistoryKeepsTheInputButRemembersIt)
{
    CommandHistory history;
    EXPECT_EQ(L"<unchanged>", Older(history, L"typed"));
    history.Submit(L"cmd");
    EXPECT_EQ(L"cmd", Older(history, L"again"));
    EXPECT_EQ(L"again", Newer(history));
}

TEST(CommandHistory, SubmittingARecalledLineEndsTheRecall)
{
    CommandHistory history;
    history.Submit(L"one");
    history.Submit(L"two");
    Older(history);
    Older(history);
    history.Submit(L"one edited");
    EXPECT_EQ(0, history.Position());
    EXPECT_EQ(L"one edited", Older(history));
    EXPECT_EQ(3u, history.Count());
}

}  // namespace

namespace {

TEST(CommandHistory, EarlierSessionsComeFirstAndTheCapacityHolds)
{
    CommandHistory history;
    history.SetCapacity(4);
    history.Submit(L"here 1");
    history.Restore({L"old 1", L"old 2", L"old 3", L"old 4"});
    EXPECT_EQ(4u, history.Count());
    EXPECT_EQ(L"here 1", Older(history));
    EXPECT_EQ(L"old 4", Older(history));
    EXPECT_EQ(L"old 3", Older(history));
    EXPECT_EQ(L"old 2", Older(history));
    EXPECT_EQ(L"<unchanged>", Older(history)) << "the oldest did not fit";

    history.Submit(L"here 2");
    history.SetCapacity(2);
    EXPECT_EQ(0, history.Position());
    EXPECT_EQ(L"here 2", Older(history));
    EXPECT_EQ(L"here 1", Older(history));
    EXPECT_EQ(L"<unchanged>", Older(history));
    history.SetCapacity(0);
    EXPECT_EQ(1u, history.Count()) << "one line at least";
}

}  // namespace
