// The console docked to a browser window of another process follows that window.
#include "CompanionTestSupport.h"
#include "settings/ConsoleSettings.h"
#include "settings/SettingsListener.h"
#include "settings/SettingsStore.h"
#include "support/UniqueRegistryKey.h"

namespace companiontest {
namespace {

bool SameRect(const RECT& left, const RECT& right)
{
    return ::EqualRect(&left, &right) != FALSE;
}

RECT RectOf(HWND window)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Measured in the text box of another process from where its first two lines begin.
int LineHeightOf(HWND textBox)
{
    const LRESULT second = ::SendMessageW(textBox, EM_LINEINDEX, 1, 0);
    if (second < 0)
        return 0;
    const LRESULT first = ::SendMessageW(textBox, EM_POSFROMCHAR, 0, 0);
    const LRESULT next = ::SendMessageW(textBox, EM_POSFROMCHAR, static_cast<WPARAM>(second), 0);
    return static_cast<short>(HIWORD(next)) - static_cast<short>(HIWORD(first));
}

int DockedHeightSetting()
{
    return settings::ReadSettings(settings::HostKind::Companion).dockedHeight;
}

TEST_F(CompanionTest, TheConsoleFollowsItsWindowMovedResizedMinimizedAndRestored)
{
    StartBoth();
    const HWND dock = companion.DockOver(window);
    ASSERT_NE(nullptr, dock);
    const int height = DockedHeightSetting();
    EXPECT_TRUE(PumpUntil([&] { return SameRect(RectOf(dock), ExpectedDock(window, height)); }));
    EXPECT_EQ(dock, ::GetWindow(window, GW_HWNDPREV)) << "directly above its window";
    EXPECT_EQ(0, ::GetWindowLongW(dock, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(nullptr, ::GetWindow(dock, GW_OWNER));

    PlaceWindow(window, 150, 90, 640, 420);
    EXPECT_TRUE(PumpUntil([&] { return SameRect(RectOf(dock), ExpectedDock(window, height)); }));
    PlaceWindow(window, 150, 90, 500, 300);
    EXPECT_TRUE(PumpUntil([&] { return SameRect(RectOf(dock), ExpectedDock(window, height)); }));

    ::ShowWindowAsync(window, SW_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return ::IsIconic(window) && !::IsWindowVisible(dock); }));
    ::ShowWindowAsync(window, SW_RESTORE);
    EXPECT_TRUE(PumpUntil([&] {
        return ::IsWindowVisible(dock) && SameRect(RectOf(dock), ExpectedDock(window, height));
    }));
}

// The height the user drags to is the setting's, which every host reads; so is the font.
class DockedHeightRestored {
public:
    ~DockedHeightRestored()
    {
        support::UniqueRegistryKey key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, settings::SettingsKeyPath, 0, KEY_SET_VALUE, key.Receive()) !=
            ERROR_SUCCESS)
            return;
        ::RegDeleteValueW(key.Get(), settings::value::DockedHeight);
        ::RegDeleteValueW(key.Get(), settings::value::FontSize);
    }
};

// The top edge is a grip: the height dragged to is kept for every console and for the next start.
TEST_F(CompanionTest, DraggingTheTopEdgeSetsTheHeightAndKeepsIt)
{
    const DockedHeightRestored restored;
    StartBoth();
    const HWND dock = companion.DockOver(window);
    ASSERT_NE(nullptr, dock);
    const int before = DockedHeightSetting();
    const RECT docked = RectOf(dock);
    ::PostMessageW(dock, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 0));
    ::PostMessageW(dock, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, -40));
    ::PostMessageW(dock, WM_LBUTTONUP, 0, MAKELPARAM(20, -40));
    EXPECT_TRUE(PumpUntil([&] { return DockedHeightSetting() == before + 40; })) << DockedHeightSetting();
    EXPECT_EQ(docked.bottom, RectOf(dock).bottom);
    EXPECT_EQ(docked.top - 40, RectOf(dock).top);
}

// The lowest docked height holds less than one row of the largest font: the row wins, and the
// console grows as soon as the font is saved.
TEST_F(CompanionTest, TheConsoleIsNeverLowerThanOneRowOfItsFont)
{
    const DockedHeightRestored restored;
    StartBoth();
    const HWND dock = companion.DockOver(window);
    ASSERT_NE(nullptr, dock);
    const RECT initial = RectOf(dock);
    const settings::ConsoleSettings before = settings::ReadSettings(settings::HostKind::Companion);
    settings::ConsoleSettings after = before;
    after.dockedHeight = settings::limits::MinDockedHeight;
    after.fontPoints = settings::limits::MaxFontPoints;
    ASSERT_EQ(ERROR_SUCCESS, settings::SaveChangedSettings(before, after));
    settings::AnnounceSettingsChange();
    // 72 points are 96 pixels at 100 % scaling.
    EXPECT_TRUE(PumpUntil([&] {
        const RECT docked = RectOf(dock);
        return docked.top != initial.top && docked.bottom - docked.top > 96;
    })) << "console " << RectOf(dock).bottom - RectOf(dock).top << " pixels high, a row of text "
        << LineHeightOf(textBox) << " pixels";
    EXPECT_EQ(dock, ::GetWindow(window, GW_HWNDPREV)) << "still directly above its window";
}

}  // namespace
}  // namespace companiontest
