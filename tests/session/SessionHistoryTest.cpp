#include "SessionTestSupport.h"

namespace {

using sessiontest::SessionTest;

class SessionHistory : public SessionTest {};

TEST_F(SessionHistory, EnterOnAnEmptyLineGetsANewPromptAndRecordsNothing)
{
    const std::wstring before = Text();
    ASSERT_TRUE(Run(L"", folder.Path())) << Text();
    EXPECT_EQ(2u, sessiontest::CountOf(Text(), sessiontest::PromptOf(folder.Path())));
    EXPECT_EQ(before, Text().substr(0, before.size()));

    Press(VK_UP);
    EXPECT_EQ(L"", InputAfterPrompt(folder.Path())) << "the empty line was not recorded";
}

TEST_F(SessionHistory, UpAndDownReplaceTheInputWithRecordedLines)
{
    ASSERT_TRUE(Run(L"echo one", folder.Path()));
    ASSERT_TRUE(Run(L"echo two", folder.Path()));
    Type(L"draft");

    Press(VK_UP);
    EXPECT_EQ(L"echo two", InputAfterPrompt(folder.Path()));
    Press(VK_UP);
    EXPECT_EQ(L"echo one", InputAfterPrompt(folder.Path()));
    Press(VK_UP);
    EXPECT_EQ(L"echo one", InputAfterPrompt(folder.Path())) << "the oldest line stays";
    Press(VK_DOWN);
    EXPECT_EQ(L"echo two", InputAfterPrompt(folder.Path()));
    Press(VK_DOWN);
    EXPECT_EQ(L"draft", InputAfterPrompt(folder.Path()));
    Press(VK_DOWN);
    EXPECT_EQ(L"draft", InputAfterPrompt(folder.Path()));

    // A recalled and edited line is submitted as shown.
    Press(VK_UP);
    Type(L"2");
    ASSERT_TRUE(Run(L"", folder.Path()));
    EXPECT_NE(std::wstring::npos, Text().find(L">echo two2\r\ntwo2\r\n")) << Text();
}

TEST_F(SessionHistory, RefreshIsRecordedNotSentAndFollowedByTheConsolesOwnPrompt)
{
    const std::wstring prompt = sessiontest::PromptOf(folder.Path());
    Submit(L"rel");
    EXPECT_EQ(1, browser.refreshes);
    EXPECT_TRUE(sessiontest::EndsWith(Text(), prompt + L"rel\r\n\r\n" + prompt)) << Text();

    // The interpreter never saw the line: its next answer follows the next line directly.
    const std::wstring afterRefresh = Text();
    ASSERT_TRUE(Run(L"echo marker", folder.Path()));
    EXPECT_EQ(L"echo marker\r\nmarker\r\n\r\n" + prompt, Text().substr(afterRefresh.size()));

    Press(VK_UP);
    Press(VK_UP);
    EXPECT_EQ(L"rel", InputAfterPrompt(folder.Path()));
}

}  // namespace
