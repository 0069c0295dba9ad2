#include "shared/ScratchUserSettings.h"

#include "settings/SettingsStore.h"

namespace testsupport {
namespace {

void SetValue(const wchar_t* path, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    const HKEY key = registry_test::CreateOpenKey(HKEY_CURRENT_USER, path);
    ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

void SetText(const wchar_t* path, const wchar_t* name, const std::wstring& text)
{
    SetValue(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

// The shell finds the user's folders in the key below, under whatever HKEY_CURRENT_USER stands for.
ScratchUserSettings::ScratchUserSettings()
{
    SetText(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", L"Local AppData",
            localData.Path());
}

ScratchUserSettings::~ScratchUserSettings() = default;

void ScratchUserSettings::SetDword(const wchar_t* name, DWORD value)
{
    SetValue(settings::SettingsKeyPath, name, REG_DWORD, &value, sizeof(value));
}

void ScratchUserSettings::SetString(const wchar_t* name, const std::wstring& value)
{
    SetText(settings::SettingsKeyPath, name, value);
}

void ScratchUserSettings::SetAppsUseLightTheme(bool light)
{
    const DWORD value = light ? 1 : 0;
    SetValue(L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", L"AppsUseLightTheme", REG_DWORD,
             &value, sizeof(value));
}

}  // namespace testsupport
