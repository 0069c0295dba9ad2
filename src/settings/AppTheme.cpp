#include "settings/AppTheme.h"

namespace settings {

namespace {

bool HighContrastOn() noexcept
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

bool AppsUseDarkTheme()
{
    DWORD light = 1;
    DWORD size = sizeof(light);
    const LSTATUS read =
        ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                       L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size);
    return read == ERROR_SUCCESS && light == 0;
}

Shade ShadeFor(ColourChoice choice)
{
    if (HighContrastOn())
        return Shade::Window;
    switch (choice) {
    case ColourChoice::AppTheme:
        return AppsUseDarkTheme() ? Shade::Dark : Shade::Light;
    case ColourChoice::Light:
        return Shade::Light;
    case ColourChoice::Dark:
        return Shade::Dark;
    default:
        return Shade::Window;
    }
}

}  // namespace settings
