#include "settings/InstalledFonts.h"

#include "support/UniqueGdiObject.h"

#include <cwchar>

namespace settings {

namespace {

constexpr const wchar_t* ConsoleFaces[] = {L"Cascadia Mono", L"Consolas", L"Lucida Console"};

class ScreenDc {
public:
    ScreenDc() noexcept : dc(::GetDC(nullptr)) {}
    ~ScreenDc() { ::ReleaseDC(nullptr, dc); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const noexcept { return dc; }

private:
    HDC dc;
};

struct FaceFacts {
    bool found = false;
    bool fixedPitch = false;
};

int CALLBACK NoteFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context)
{
    auto* facts = reinterpret_cast<FaceFacts*>(context);
    facts->found = true;
    facts->fixedPitch = (font->lfPitchAndFamily & 0x3) == FIXED_PITCH;
    return 0;
}

FaceFacts LookUp(const std::wstring& face)
{
    FaceFacts facts;
    if (face.empty() || face.size() >= LF_FACESIZE)
        return facts;
    const ScreenDc screen;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(wanted.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    ::EnumFontFamiliesExW(screen.Get(), &wanted, NoteFace, reinterpret_cast<LPARAM>(&facts), 0);
    return facts;
}

std::wstring FaceOf(HFONT font)
{
    const ScreenDc screen;
    const HGDIOBJ previous = ::SelectObject(screen.Get(), font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(screen.Get(), LF_FACESIZE, face);
    ::SelectObject(screen.Get(), previous);
    return face;
}

std::wstring MappedFixedPitchFace()
{
    LOGFONTW wanted{};
    wanted.lfHeight = -13;
    wanted.lfCharSet = DEFAULT_CHARSET;
    wanted.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const support::UniqueFont font(::CreateFontIndirectW(&wanted));
    return font ? FaceOf(font.Get()) : std::wstring();
}

}  // namespace

bool IsFontInstalled(const std::wstring& face)
{
    return LookUp(face).found;
}

bool IsFixedPitchFont(const std::wstring& face)
{
    return LookUp(face).fixedPitch;
}

std::wstring ConsoleFontFace()
{
    for (const wchar_t* face : ConsoleFaces) {
        if (IsFontInstalled(face))
            return face;
    }
    return MappedFixedPitchFace();
}

FontChoice DialogFont()
{
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    const ScreenDc screen;
    const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    const int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    return FontChoice{font.lfFaceName, dpi > 0 && height > 0 ? ::MulDiv(height, 72, dpi) : 8};
}

}  // namespace settings
