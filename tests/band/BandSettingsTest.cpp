#include "BandTestSupport.h"

#include "module/BrimblestoneModule.h"
#include "settings/InstalledFonts.h"
#include "settings/SettingsListener.h"
#include "settings/SettingsStore.h"
#include "shared/ScratchUserSettings.h"
#include "shared/ThreadDialogs.h"

#include <thread>

namespace {

using bandtest::BandInBrowser;

int HeightOf(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// A band in the browser with the user's settings in scratch places; nothing is set when a test begins.
class BandSettings : public BandInBrowser {
protected:
    testsupport::ScratchUserSettings user;
};

TEST_F(BandSettings, TheBandKeepsItsLookUntilTheUserSetsAFontAndThenIsARowOfItHigh)
{
    LOGFONTW dialogFont{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(dialogFont), &dialogFont);
    LOGFONTW shown{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof(shown), &shown);
    EXPECT_STREQ(dialogFont.lfFaceName, shown.lfFaceName);
    EXPECT_EQ(dialogFont.lfHeight, shown.lfHeight);
    EXPECT_EQ(22, window.BandInfo().ptMinSize.y);
    EXPECT_EQ(22, window.BandInfo().ptIntegral.y);
    EXPECT_EQ(22, window.BandInfo().ptActual.y);
    EXPECT_EQ(22, HeightOf(window.BandWindow()));

    user.SetString(settings::value::FontFace, settings::ConsoleFontFace());
    user.SetDword(settings::value::FontSize, 24);
    settings::AnnounceSettingsChange();
    ASSERT_TRUE(window.PumpUntil([&] { return window.BandInfo().ptMinSize.y > 22; })) << "the site was told";
    const LONG row = window.BandInfo().ptMinSize.y;
    EXPECT_EQ(row, window.BandInfo().ptIntegral.y);
    EXPECT_EQ(row, window.BandInfo().ptActual.y);
    EXPECT_EQ(row, HeightOf(window.BandWindow()));
    ASSERT_TRUE(Run(L"echo still here", folder.Path()));
}

// The browser closes the band and lets it go while the settings window is open, on a timer of its
// thread, which the window's message loop runs.
standin::BrowserWindow* closingBrowser = nullptr;

void CALLBACK CloseBandOnceTheWindowShows(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!testsupport::FindDialog(::GetCurrentThreadId(), closingBrowser->Window()))
        return;
    ::KillTimer(nullptr, timer);
    closingBrowser->CloseBand();
}

// The band lives on until the settings window and the console's message that opened it have
// returned, and goes after.
TEST_F(BandSettings, TheBandOutlivesItsReleaseWhileTheSettingsWindowIsOpen)
{
    const LONG locks = server::libraryModule->GetModuleLockCount();
    band.Reset();
    const DWORD thread = ::GetCurrentThreadId();
    const HWND frame = window.Window();
    const HWND bandWindow = window.BandWindow();
    LONG locksWhileOpen = 0;
    std::thread working([&] {
        const HWND dialog = testsupport::WaitForDialog(thread, frame);
        if (!dialog)
            return;
        testsupport::PollUntil([&] { return !::IsWindow(bandWindow); });
        locksWhileOpen = server::libraryModule->GetModuleLockCount();
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    closingBrowser = &window;
    ::SetTimer(nullptr, 0, 50, CloseBandOnceTheWindowShows);
    ::PostMessageW(edit, WM_CHAR, L's', 0);
    ::SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), -1);
    EXPECT_TRUE(window.PumpUntil([&] { return server::libraryModule->GetModuleLockCount() == locks - 1; }));
    working.join();
    EXPECT_FALSE(::IsWindow(bandWindow)) << "the band was closed";
    EXPECT_EQ(locks, locksWhileOpen) << "and lived on while the window was open";
    EXPECT_TRUE(window.PumpUntil([] { return bandtest::RunningInterpreters().empty(); }));
    ASSERT_TRUE(window.IsOpen());
    ASSERT_TRUE(::IsWindowEnabled(frame));
}

}  // namespace
