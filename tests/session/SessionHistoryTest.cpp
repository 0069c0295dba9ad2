#include "SessionTestSupport.h"

#include "settings/HistoryFile.h"
#include "settings/SettingsStore.h"
#include "shared/ScratchUserSettings.h"

#include <fstream>

namespace {

using sessiontest::CountOf;
using sessiontest::SessionTest;
using Lines = std::vector<std::wstring>;

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

// The history kept for the next console: the scratch user keeps it from the start.
class SessionKeptHistory : public SessionTest {
protected:
    void SetUp() override
    {
        user.SetDword(settings::value::KeepHistory, 1);
        SessionTest::SetUp();
    }

    testsupport::ScratchUserSettings user;
};

TEST_F(SessionKeptHistory, LinesRunComeBackInTheNextConsoleButNotThoseStartingWithASpace)
{
    ASSERT_TRUE(Run(L"echo one", folder.Path()));
    ASSERT_TRUE(Run(L" echo secret", folder.Path()));
    ASSERT_TRUE(Run(L"echo two", folder.Path()));
    EXPECT_EQ((Lines{L"echo two", L" echo secret"}), RecallWithUp(2, folder.Path()))
        << "recalled in the console it was typed in";

    console.reset();
    OpenConsole();
    EXPECT_EQ((Lines{L"echo two", L"echo one", L"echo one"}), RecallWithUp(3, folder.Path()));
}

TEST_F(SessionKeptHistory, AFileThatCannotBeReadOrWrittenIsOneLineAndTheConsoleGoesOn)
{
    console.reset();
    ::CreateDirectoryW(user.HistoryPath().substr(0, user.HistoryPath().rfind(L'\\')).c_str(), nullptr);
    std::ofstream(user.HistoryPath().c_str(), std::ios::binary) << std::string("\x7F" "ELF\0\1\2binary", 12);
    OpenConsole();
    EXPECT_EQ(0u, Text().find(L"Command history not read: ")) << Text();
    EXPECT_EQ(1u, CountOf(Text(), L"Command history"));
    ASSERT_TRUE(Run(L"echo works", folder.Path()));
    EXPECT_EQ(Lines{L"echo works"}, settings::HistoryFile(user.HistoryPath()).Load(10).lines)
        << "saving started afresh";

    // Another program holds the lock file (here: a folder in its place).
    ::DeleteFileW((user.HistoryPath() + L".lock").c_str());
    ::CreateDirectoryW((user.HistoryPath() + L".lock").c_str(), nullptr);
    ASSERT_TRUE(Run(L"echo unsaved", folder.Path()));
    ASSERT_TRUE(Run(L"echo unsaved too", folder.Path()));
    const std::wstring text = Text();
    EXPECT_EQ(1u, CountOf(text, L"\r\nCommand history not saved (")) << "said once while it fails";
    EXPECT_LT(text.find(L"Command history not saved ("), text.find(L">echo unsaved\r\n")) << "above the line";
    ::RemoveDirectoryW((user.HistoryPath() + L".lock").c_str());
    ASSERT_TRUE(Run(L"echo saved", folder.Path()));
    EXPECT_EQ((Lines{L"echo works", L"echo unsaved", L"echo unsaved too", L"echo saved"}),
              settings::HistoryFile(user.HistoryPath()).Load(10).lines)
        << "the lines that waited are saved with the next one";
}

}  // namespace
