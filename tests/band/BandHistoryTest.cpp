#include "BandTestSupport.h"

namespace {

using bandtest::BandInBrowser;

class BandHistory : public BandInBrowser {};

TEST_F(BandHistory, EnterOnAnEmptyLineGetsANewPromptAndRecordsNothing)
{
    const std::wstring before = Text();
    ASSERT_TRUE(Run(L"", folder.Path())) << Text();
    EXPECT_EQ(2u, bandtest::CountOf(Text(), bandtest::PromptOf(folder.Path())));
    EXPECT_EQ(before, Text().substr(0, before.size()));

    window.PressKey(edit, VK_UP);
    EXPECT_EQ(L"", InputAfterPrompt(folder.Path())) << "the empty line was not recorded";
}

TEST_F(BandHistory, UpAndDownReplaceTheInputWithRecordedLines)
{
    ASSERT_TRUE(Run(L"echo one", folder.Path()));
    ASSERT_TRUE(Run(L"echo two", folder.Path()));
    window.TypeText(edit, L"draft");

    window.PressKey(edit, VK_UP);
    EXPECT_EQ(L"echo two", InputAfterPrompt(folder.Path()));
    window.PressKey(edit, VK_UP);
    EXPECT_EQ(L"echo one", InputAfterPrompt(folder.Path()));
    window.PressKey(edit, VK_UP);
    EXPECT_EQ(L"echo one", InputAfterPrompt(folder.Path())) << "the oldest line stays";
    window.PressKey(edit, VK_DOWN);
    EXPECT_EQ(L"echo two", InputAfterPrompt(folder.Path()));
    window.PressKey(edit, VK_DOWN);
    EXPECT_EQ(L"draft", InputAfterPrompt(folder.Path()));
    window.PressKey(edit, VK_DOWN);
    EXPECT_EQ(L"draft", InputAfterPrompt(folder.Path()));

    // A recalled and edited line is submitted as shown.
    window.PressKey(edit, VK_UP);
    window.TypeText(edit, L"2");
    ASSERT_TRUE(Run(L"", folder.Path()));
    EXPECT_NE(std::wstring::npos, Text().find(L">echo two2\r\ntwo2\r\n")) << Text();
}

TEST_F(BandHistory, RefreshIsRecordedNotSentAndFollowedByTheBandsOwnPrompt)
{
    const std::wstring prompt = bandtest::PromptOf(folder.Path());
    Submit(L"rel");
    EXPECT_EQ(1, window.RefreshCount());
    EXPECT_TRUE(bandtest::EndsWith(Text(), prompt + L"rel\r\n\r\n" + prompt)) << Text();

    // The interpreter never saw the line: its next answer follows the next line directly.
    const std::wstring afterRefresh = Text();
    ASSERT_TRUE(Run(L"echo marker", folder.Path()));
    EXPECT_EQ(L"echo marker\r\nmarker\r\n\r\n" + prompt, Text().substr(afterRefresh.size()));

    window.PressKey(edit, VK_UP);
    window.PressKey(edit, VK_UP);
    EXPECT_EQ(L"rel", InputAfterPrompt(folder.Path()));
}

}  // namespace
