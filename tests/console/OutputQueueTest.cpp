#include "console/OutputQueue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using console::MarkedOutput;
using console::MarkedPrompt;
using console::OutputQueue;

MarkedOutput Piece(const std::wstring& text, std::vector<MarkedPrompt> prompts = {})
{
    MarkedOutput piece;
    piece.text = text;
    piece.prompts = std::move(prompts);
    return piece;
}

// The reader never waits: a window that takes nothing while far more than the bound comes gets the
// newest text, from a line's start, and the count of everything before it.
TEST(OutputQueue, AWindowFarBehindGetsTheNewestLinesAndTheCountOfTheRest)
{
    OutputQueue queue(1000);
    std::wstring written;
    for (int line = 0; line < 400; ++line) {
        const std::wstring text = L"line " + std::to_wstring(line) + L" of the flood\r\n";
        written += text;
        EXPECT_EQ(line == 0 ? OutputQueue::Pushed::QueuedTellWindow : OutputQueue::Pushed::Queued,
                  queue.Push(Piece(text)));
    }
    MarkedOutput taken;
    ASSERT_TRUE(queue.Take(taken));
    EXPECT_LE(taken.text.size(), 1000u + 1000u / 8);
    EXPECT_GE(taken.text.size(), 500u);
    EXPECT_EQ(written.size(), taken.dropped + taken.text.size());
    EXPECT_EQ(written.substr(taken.dropped), taken.text);
    EXPECT_EQ(L'\n', written[taken.dropped - 1]) << "what is kept begins a line";

    EXPECT_EQ(OutputQueue::Pushed::QueuedTellWindow, queue.Push(Piece(L"after\r\n")));
    MarkedOutput next;
    ASSERT_TRUE(queue.Take(next));
    EXPECT_EQ(0u, next.dropped) << "a take counts only what was left out since the one before";
    EXPECT_EQ(L"after\r\n", next.text);
}

// Where no line ends near the cut, the text is cut inside the line, never inside a character nor
// between the CR and the LF of one line end.
TEST(OutputQueue, LeavingTextOutNeverSplitsACharacterOrALineEnd)
{
    const std::wstring pairs = [] {
        std::wstring text;
        for (int pair = 0; pair < 1000; ++pair)
            text += L"\xD83D\xDE00";
        return text;
    }();
    for (const std::size_t bound : {std::size_t{1001}, std::size_t{1000}}) {
        OutputQueue queue(bound);
        queue.Push(Piece(pairs));
        MarkedOutput taken;
        ASSERT_TRUE(queue.Take(taken));
        ASSERT_FALSE(taken.text.empty());
        EXPECT_TRUE(IS_HIGH_SURROGATE(taken.text.front())) << "bound " << bound;
        EXPECT_EQ(pairs.size(), taken.dropped + taken.text.size());
    }
    // The wanted cut falls between a CR and its LF.
    OutputQueue queue(1000);
    const std::wstring text = std::wstring(199, L'x') + L"\r\n" + std::wstring(999, L'y');
    queue.Push(Piece(text));
    MarkedOutput taken;
    ASSERT_TRUE(queue.Take(taken));
    EXPECT_EQ(std::wstring(999, L'y'), taken.text);
    EXPECT_EQ(201u, taken.dropped);
}

// Prompts are never left out: whoever follows the interpreter by them sees each one, in order; those
// of text left out stand at the start of what is kept.
TEST(OutputQueue, EveryPromptReachesTheWindowInOrder)
{
    OutputQueue queue(100);
    const std::wstring line(49, L'a');
    queue.Push(Piece(line + L"\n", {{10, L"C:\\first"}, {50, L"C:\\second"}}));
    queue.Push(Piece(line + L"\n" + line + L"\n", {{20, L"C:\\third"}, {100, L"C:\\fourth"}}));
    MarkedOutput taken;
    ASSERT_TRUE(queue.Take(taken));
    ASSERT_EQ(4u, taken.prompts.size());
    EXPECT_EQ(50u, taken.dropped);
    EXPECT_EQ(L"C:\\first", taken.prompts[0].folder);
    EXPECT_EQ(0u, taken.prompts[0].offset);
    EXPECT_EQ(L"C:\\second", taken.prompts[1].folder);
    EXPECT_EQ(0u, taken.prompts[1].offset);
    EXPECT_EQ(L"C:\\third", taken.prompts[2].folder);
    EXPECT_EQ(20u, taken.prompts[2].offset);
    EXPECT_EQ(L"C:\\fourth", taken.prompts[3].folder);
    EXPECT_EQ(taken.text.size(), taken.prompts[3].offset);
}

TEST(OutputQueue, AClosedQueueTakesNothingMore)
{
    OutputQueue queue;
    queue.Push(Piece(L"before"));
    queue.Close();
    EXPECT_EQ(OutputQueue::Pushed::Closed, queue.Push(Piece(L"after")));
    MarkedOutput taken;
    EXPECT_FALSE(queue.Take(taken));
}

}  // namespace
