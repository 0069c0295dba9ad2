#include "session/EchoFilter.h"

#include <gtest/gtest.h>

namespace {

using session::EchoFilter;

// Windows' cmd with echo on writes its prompt, then each line it reads, then the line's output.
TEST(EchoFilter, DropsTheEchoAfterThePromptOnceEvenWhenSplit)
{
    EchoFilter echoes;
    EXPECT_EQ(L"\r\nC:\\>", echoes.Filter(L"\r\nC:\\>"));
    echoes.Expect(L"echo hello");
    EXPECT_EQ(L"", echoes.Filter(L"echo he"));
    EXPECT_TRUE(echoes.HasHeldBack());
    EXPECT_EQ(L"hello\r\n\r\nC:\\>", echoes.Filter(L"llo\r\nhello\r\n\r\nC:\\>"));
    EXPECT_EQ(L"echo hello\r\n", echoes.Filter(L"echo hello\r\n")) << "dropped once only";

    echoes.Expect(L"dir");
    EXPECT_EQ(L"C:\\>", echoes.Filter(L"C:\\>dir\r"));
    EXPECT_EQ(L" Volume\r\n", echoes.Filter(L"\n Volume\r\n"));
}

TEST(EchoFilter, LinesTypedAheadAreRecognisedAfterTheNextPrompts)
{
    EchoFilter echoes;
    EXPECT_EQ(L"C:\\>", echoes.Filter(L"C:\\>"));
    echoes.Expect(L"slow");
    echoes.Expect(L"first");
    echoes.Expect(L"second");
    EXPECT_EQ(L"tick\r\nfirst\r\n", echoes.Filter(L"slow\r\ntick\r\nfirst\r\n")) << "not after a prompt";
    EXPECT_EQ(L"\r\nC:\\>first\r\n\r\nC:\\>", echoes.Filter(L"\r\nC:\\>first\r\nfirst\r\n\r\nC:\\>second\r\n"));
    EXPECT_EQ(L"second\r\n", echoes.Filter(L"second\r\n"));
}

// Wine's cmd reads the line without echo, and a program reading input echoes nothing either:
// the prompt is followed by output, and a later copy of the line is output too.
TEST(EchoFilter, WithoutEchoNothingIsDropped)
{
    EchoFilter echoes;
    echoes.Filter(L"C:\\>");
    echoes.Expect(L"echo hello");
    EXPECT_EQ(L"hello\r\n\r\nC:\\>", echoes.Filter(L"hello\r\n\r\nC:\\>"));
    EXPECT_EQ(L"echo hello\r\n", echoes.Filter(L"echo hello\r\n"));

    echoes.Filter(L"\r\nC:\\>");
    echoes.Expect(L"echo hello world");
    EXPECT_EQ(L"", echoes.Filter(L"echo hello"));
    EXPECT_EQ(L"echo hello", echoes.ReleaseHeldBack()) << "the rest never came";
    EXPECT_FALSE(echoes.HasHeldBack());
    EXPECT_EQ(L" world\r\n", echoes.Filter(L" world\r\n"));
}

// Where the interpreter marks its prompts, a prompt ends at its mark, whatever its text: a '>' in
// output is no prompt, and a line read by a batch file's question is forgotten at the next prompt.
TEST(EchoFilter, MarkedPromptsAloneEndPrompts)
{
    EchoFilter echoes;
    echoes.PromptMarked();
    echoes.Expect(L"echo a>b");
    EXPECT_EQ(L"", echoes.Filter(L"echo a>b\r\n"));
    echoes.Expect(L"answer");
    EXPECT_EQ(L"Question> answer\r\n", echoes.Filter(L"Question> answer\r\n")) << "no prompt, no echo";
    echoes.PromptMarked();
    EXPECT_EQ(L"output\r\n", echoes.Filter(L"output\r\n"));
    echoes.Expect(L"dir");
    echoes.PromptMarked();
    EXPECT_EQ(L"", echoes.Filter(L"dir\r\n"));

    echoes.PromptsUnmarked();
    echoes.Expect(L"ver");
    EXPECT_EQ(L"C:\\>", echoes.Filter(L"C:\\>ver\r\n"));
}

}  // namespace
