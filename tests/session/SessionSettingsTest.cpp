#include "SessionTestSupport.h"

#include "settings/InstalledFonts.h"
#include "settings/SettingsListener.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsWindow.h"
#include "shared/ScratchUserSettings.h"
#include "shared/ThreadDialogs.h"
#include "view/DpiFont.h"
#include "view/TextColours.h"

#include <thread>

namespace {

namespace value = settings::value;
using sessiontest::SessionTest;
using view::TextColours;

LOGFONTW ShownFont(HWND edit)
{
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

// The background the console's window gives its text box when asked, as the text box asks when it draws.
COLORREF Background(HWND edit)
{
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const LRESULT brush = ::SendMessageW(::GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(edit));
    ::DeleteDC(dc);
    LOGBRUSH described{};
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(described), &described);
    return described.lbColor;
}

void SwitchAppMode()
{
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                          SMTO_ABORTIFHUNG, 5000, nullptr);
}

// A console with the user's settings in scratch places; nothing is set when a test begins.
class SessionSettings : public SessionTest {
protected:
    testsupport::ScratchUserSettings user;
};

TEST_F(SessionSettings, AChangeReachesTheOpenConsoleAtOnce)
{
    LOGFONTW dialogFont{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(dialogFont), &dialogFont);
    EXPECT_STREQ(dialogFont.lfFaceName, ShownFont(edit).lfFaceName) << "the band's look, as it always was";
    EXPECT_EQ(dialogFont.lfHeight, ShownFont(edit).lfHeight);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), Background(edit));
    EXPECT_EQ(22, console->RowHeight());

    const std::wstring consoleFace = settings::ConsoleFontFace();
    ASSERT_STRNE(dialogFont.lfFaceName, consoleFace.c_str());
    user.SetString(value::FontFace, consoleFace);
    user.SetDword(value::FontSize, 20);
    user.SetString(value::Colours, L"dark");
    user.SetDword(value::ScrollbackLimit, 10000);
    settings::AnnounceSettingsChange();
    ASSERT_TRUE(WaitFor([&] { return frame.rowHeightChanges > 0; }));
    EXPECT_EQ(1, frame.rowHeightChanges);
    EXPECT_EQ(consoleFace, ShownFont(edit).lfFaceName);
    EXPECT_EQ(-::MulDiv(20, static_cast<int>(view::WindowDpi(edit)), 72), ShownFont(edit).lfHeight);
    EXPECT_GT(console->RowHeight(), 22);
    EXPECT_EQ(TextColours::DarkBackground, Background(edit));

    // The oldest lines go, earlier prompts with them.
    Submit(L"for /l %i in (1,1,600) do @echo line %i of the scrollback");
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) {
        return sessiontest::EndsWith(text, L"line 600 of the scrollback\r\n\r\n" + sessiontest::PromptOf(folder.Path()));
    })) << Text();
    EXPECT_LE(Text().size(), 10000u);

    // Following Windows' app mode, the console switches when Windows does.
    user.SetString(value::Colours, L"theme");
    user.SetAppsUseLightTheme(true);
    settings::AnnounceSettingsChange();
    EXPECT_TRUE(WaitFor([&] { return Background(edit) == TextColours::LightBackground; }));
    user.SetAppsUseLightTheme(false);
    SwitchAppMode();
    EXPECT_TRUE(WaitFor([&] { return Background(edit) == TextColours::DarkBackground; }));
    EXPECT_EQ(1, frame.rowHeightChanges) << "the font stayed";
}

// The menu's Settings... opens the settings window over the frame; the console goes on meanwhile,
// and takes what the window applies at once.
TEST_F(SessionSettings, TheMenuOpensTheSettingsWindowAndTheConsoleGoesOnMeanwhile)
{
    const DWORD thread = ::GetCurrentThreadId();
    const HWND owner = frame.window.Get();
    std::wstring title;
    bool ownerDisabled = false;
    bool outputShown = false;
    bool appliedAtOnce = false;
    std::thread working([&] {
        const HWND dialog = testsupport::WaitForDialog(thread, owner);
        if (!dialog)
            return;
        title = testsupport::TextOf(dialog);
        ownerDisabled = !::IsWindowEnabled(owner);
        outputShown = testsupport::PollUntil([&] { return Text().find(L"\r\nwhile open\r\n") != std::wstring::npos; });
        ::SendDlgItemMessageW(dialog, settings::ColoursList, CB_SETCURSEL, 2, 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(settings::ApplyButton, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, settings::ApplyButton)));
        appliedAtOnce = testsupport::PollUntil([&] { return Background(edit) == TextColours::DarkBackground; });
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Submit(L"echo while open");
    // The menu reads the key waiting in the queue: S, for Settings...
    ::PostMessageW(edit, WM_CHAR, L's', 0);
    ::SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), -1);
    EXPECT_TRUE(WaitFor([&] { return frame.modalWindows == 1; }));
    working.join();

    EXPECT_EQ(L"Brimblestone settings", title);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    EXPECT_TRUE(outputShown) << Text();
    EXPECT_TRUE(appliedAtOnce);
    ASSERT_TRUE(WaitForPrompt(folder.Path(), 2)) << Text();
    ASSERT_TRUE(Run(L"echo after", folder.Path())) << "the console goes on";
}

}  // namespace
