// The companion as a program: one per session, its shortcut, "exit" in a console, its sign-in entry.
#include "CompanionTestSupport.h"
#include "FileUrl.h"
#include "settings/SettingsListener.h"
#include "settings/SettingsStore.h"
#include "support/UniqueRegistryKey.h"

namespace companiontest {
namespace {

constexpr const wchar_t* RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* SignInEntryName = L"Brimblestone Console";

std::wstring RunEntry()
{
    wchar_t command[1024] = {};
    DWORD size = sizeof(command);
    if (::RegGetValueW(HKEY_CURRENT_USER, RunKeyPath, SignInEntryName, RRF_RT_REG_SZ, nullptr, command, &size) !=
        ERROR_SUCCESS)
        return std::wstring();
    return command;
}

void SetStartAtSignIn(bool start)
{
    support::UniqueRegistryKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, settings::SettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      key.Receive(), nullptr);
    const DWORD value = start ? 1 : 0;
    ::RegSetValueExW(key.Get(), settings::value::StartAtSignIn, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof(value));
    settings::AnnounceSettingsChange();
}

// The setting and the entry are the user's: what a test changed goes.
class SignInRestored {
public:
    ~SignInRestored()
    {
        support::UniqueRegistryKey key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, settings::SettingsKeyPath, 0, KEY_SET_VALUE, key.Receive()) ==
            ERROR_SUCCESS)
            ::RegDeleteValueW(key.Get(), settings::value::StartAtSignIn);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKeyPath, SignInEntryName);
    }
};

TEST_F(CompanionTest, TheShortcutHidesTheConsoleAndASecondStartShowsItAgain)
{
    StartBoth();
    const HWND program = companion.ProgramWindow();
    ASSERT_NE(nullptr, program);
    ::PostMessageW(program, WM_HOTKEY, 1, 0);
    EXPECT_TRUE(PumpUntil([&] { return companion.Docks(false).empty() && companion.Interpreters() == 0; }));

    EXPECT_EQ(0, CompanionProcess::RunAgain({})) << "the second start hands over and ends";
    textBox = ConsoleOf(window, folder.Path());
    EXPECT_NE(nullptr, textBox);
    EXPECT_EQ(1u, companion.Interpreters());
    EXPECT_EQ(1u, companion.Docks(false).size());
    EXPECT_EQ(2, CompanionProcess::RunAgain({L"/unknown"}));
}

// "exit" ends the interpreter and closes the console; the window's next folder brings a new one.
TEST_F(CompanionTest, ExitClosesTheConsoleUntilTheWindowShowsAnotherFolder)
{
    StartBoth();
    TypeLine(textBox, L"exit");
    EXPECT_TRUE(PumpUntil([&] { return companion.Docks(false).empty() && companion.Interpreters() == 0; }));

    ListClient list(shellList);
    const ComPtr<IWebBrowser2> tab = list.BrowserOf(StandInProcess::TabWindows(window).front());
    ASSERT_NE(nullptr, tab.Get());
    ASSERT_EQ(S_OK, testsupport::NavigateAcross(tab.Get(), standin::FileUrlFromPath(sub)));
    textBox = ConsoleOf(window, sub);
    ASSERT_NE(nullptr, textBox);
    EXPECT_EQ(1u, CountOf(TextOf(textBox), PromptOf(sub))) << "a fresh console: " << TextOf(textBox);
}

TEST_F(CompanionTest, TheSignInEntryIsWrittenAndRemovedAsTheSettingSays)
{
    const SignInRestored restored;
    ASSERT_TRUE(companion.Start());
    EXPECT_EQ(L"", RunEntry()) << "off by default";
    SetStartAtSignIn(true);
    EXPECT_TRUE(PumpUntil([] { return !RunEntry().empty(); }));
    const std::wstring entry = RunEntry();
    EXPECT_EQ(L'"', entry.front());
    EXPECT_NE(std::wstring::npos, entry.find(L"\\BrimblestoneConsole.exe\"")) << entry;
    SetStartAtSignIn(false);
    EXPECT_TRUE(PumpUntil([] { return RunEntry().empty(); }));
}

}  // namespace
}  // namespace companiontest
