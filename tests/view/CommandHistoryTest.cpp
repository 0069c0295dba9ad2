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
