#include "settings/AppTheme.h"
#include "settings/SettingsListener.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using settings::SettingsChange;
using settings::Shade;

// Lets this thread's windows have their messages until `done`, for ten seconds at most.
bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD started = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - started > 10000)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
    return true;
}

void BroadcastSettingChange(const wchar_t* area)
{
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(area), SMTO_ABORTIFHUNG, 5000,
                          nullptr);
}

// A console following the app mode hears of each switch and reads the new mode at once.
TEST(SettingsListener, HearsTheSettingsWindowAndEverySwitchOfTheAppMode)
{
    const registry_test::ScratchKey scratch;
    const registry_test::PredefinedKeyOverride currentUser(HKEY_CURRENT_USER, scratch.Get());
    std::vector<SettingsChange> heard;
    std::vector<Shade> shades;
    settings::SettingsListener listener([&](SettingsChange change) {
        heard.push_back(change);
        shades.push_back(settings::ShadeFor(settings::ColourChoice::AppTheme));
    });
    ASSERT_TRUE(listener.IsListening());
    EXPECT_EQ(0, ::GetWindowLongW(listener.GetHwnd(), GWL_STYLE) & WS_VISIBLE);

    settings::AnnounceSettingsChange();
    ASSERT_TRUE(PumpUntil([&] { return !heard.empty(); }));
    EXPECT_EQ(std::vector<SettingsChange>{SettingsChange::Saved}, heard);
    EXPECT_EQ(std::vector<Shade>{Shade::Light}, shades) << "no app mode at all: light, as before Windows 10";

    const HKEY personalize =
        registry_test::CreateOpenKey(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize");
    ASSERT_NE(nullptr, personalize);
    for (const DWORD light : {0u, 1u, 0u}) {
        ::RegSetValueExW(personalize, L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&light),
                         sizeof(light));
        BroadcastSettingChange(L"Environment");
        BroadcastSettingChange(L"ImmersiveColorSet");
    }
    ::RegCloseKey(personalize);
    EXPECT_EQ((std::vector<SettingsChange>{SettingsChange::Saved, SettingsChange::Appearance, SettingsChange::Appearance,
                                           SettingsChange::Appearance}),
              heard)
        << "other changes of the system are not the console's";
    EXPECT_EQ((std::vector<Shade>{Shade::Light, Shade::Dark, Shade::Light, Shade::Dark}), shades);

    EXPECT_EQ(Shade::Dark, settings::ShadeFor(settings::ColourChoice::Dark));
    EXPECT_EQ(Shade::Light, settings::ShadeFor(settings::ColourChoice::Light));
    EXPECT_EQ(Shade::Window, settings::ShadeFor(settings::ColourChoice::Window)) << "whatever the app mode";
}

}  // namespace
