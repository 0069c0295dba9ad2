#include "console/ConversionCodePage.h"

#include <cstdlib>

namespace console {
namespace {

bool IsNt5OrLater()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (!::GetVersionExW(&version))
        return true;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

// Systems before NT 5.0 have no CP_THREAD_ACP: the thread locale's default ANSI code page stands in.
UINT ThreadLocaleAnsiCodePage()
{
    char digits[8] = {};
    if (::GetLocaleInfoA(::GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof(digits)) > 0) {
        const UINT codePage = static_cast<UINT>(std::strtoul(digits, nullptr, 10));
        if (codePage != 0)
            return codePage;
    }
    return ::GetACP();
}

}  // namespace

UINT ConversionCodePage()
{
    static const UINT chosen = IsNt5OrLater() ? CP_THREAD_ACP : ThreadLocaleAnsiCodePage();
    return chosen;
}

UINT ResolvedConversionCodePage()
{
    const UINT codePage = ConversionCodePage();
    if (codePage != CP_THREAD_ACP)
        return codePage;
    UINT threadCodePage = 0;
    const int units = sizeof(threadCodePage) / sizeof(wchar_t);
    if (::GetLocaleInfoW(::GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<LPWSTR>(&threadCodePage), units) > 0 &&
        threadCodePage != CP_ACP)
        return threadCodePage;
    // Locales without an ANSI code page of their own convert with the system's.
    return ::GetACP();
}

}  // namespace console
