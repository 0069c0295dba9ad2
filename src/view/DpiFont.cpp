#include "view/DpiFont.h"

#include <cwchar>

namespace view {

namespace {

constexpr UINT BaseDpi = 96;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Looked up rather than imported: the library still loads on Windows 7 and 8, which lack it.
GetDpiForWindowFunction FindGetDpiForWindow() noexcept
{
    const HMODULE user = ::GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<GetDpiForWindowFunction>(
                      reinterpret_cast<void*>(::GetProcAddress(user, "GetDpiForWindow")))
                : nullptr;
}

UINT ScreenDpi() noexcept
{
    const HDC screen = ::GetDC(nullptr);
    if (!screen)
        return BaseDpi;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : BaseDpi;
}

}  // namespace

UINT WindowDpi(HWND window) noexcept
{
    static const GetDpiForWindowFunction getDpiForWindow = FindGetDpiForWindow();
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0)
            return dpi;
    }
    return ScreenDpi();
}

DpiFont::DpiFont(const std::wstring& face, int points, UINT dpi) : face(face), points(points), dpi(dpi)
{
    LOGFONTW description{};
    description.lfHeight = -::MulDiv(points, static_cast<int>(dpi), 72);
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    font.Reset(::CreateFontIndirectW(&description));
}

bool DpiFont::Matches(const std::wstring& otherFace, int otherPoints, UINT otherDpi) const noexcept
{
    return font.IsHeld() && otherPoints == points && otherDpi == dpi && otherFace == face;
}

}  // namespace view
