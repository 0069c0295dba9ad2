#pragma once

#include "RegistryTestSupport.h"
#include "shared/ScratchFolder.h"

#include <windows.h>

#include <string>

namespace testsupport {

// The user's settings and local data for one test: HKEY_CURRENT_USER is a scratch key for this
// process, holding the console's settings, Windows' app mode and the user's local data folder,
// which is a scratch folder (the command history is kept in it).
class ScratchUserSettings {
public:
    ScratchUserSettings();
    ~ScratchUserSettings();
    ScratchUserSettings(const ScratchUserSettings&) = delete;
    ScratchUserSettings& operator=(const ScratchUserSettings&) = delete;

    // Values under HKEY_CURRENT_USER\Software\Brimblestone.
    void SetDword(const wchar_t* name, DWORD value);
    void SetString(const wchar_t* name, const std::wstring& value);
    // AppsUseLightTheme, Windows' app mode.
    void SetAppsUseLightTheme(bool light);

    // Where the consoles keep the command history.
    std::wstring HistoryPath() const { return localData.Path() + L"\\Brimblestone\\history.txt"; }

private:
    registry_test::ScratchKey scratch;
    registry_test::PredefinedKeyOverride currentUser{HKEY_CURRENT_USER, scratch.Get()};
    ScratchFolder localData;
};

}  // namespace testsupport
