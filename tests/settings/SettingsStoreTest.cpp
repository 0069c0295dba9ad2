#include "settings/InstalledFonts.h"
#include "settings/SettingsStore.h"

#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace settings {

void PrintTo(const ConsoleSettings& s, std::ostream* out)
{
    *out << "{font " << std::string(s.fontFace.begin(), s.fontFace.end()) << " " << s.fontPoints << " pt, colours "
         << static_cast<int>(s.colours) << ", scrollback " << s.scrollbackLimit << ", history " << s.historyLength
         << (s.keepHistory ? " kept" : " not kept") << ", docked " << s.dockedHeight << ", new windows "
         << s.showForNewWindows << ", sign-in " << s.startAtSignIn << ", shortcut " << std::hex << s.shortcut
         << std::dec << "}";
}

}  // namespace settings

namespace {

using settings::ColourChoice;
using settings::ConsoleSettings;
using settings::HostKind;
namespace value = settings::value;

void SetDword(HKEY key, const wchar_t* name, DWORD data)
{
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data)));
}

void SetRaw(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
}

void SetString(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
{
    SetRaw(key, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

struct NumberValue {
    const wchar_t* name;
    DWORD lowest;
    DWORD highest;
};

const NumberValue NumberValues[] = {
    {value::FontSize, settings::limits::MinFontPoints, settings::limits::MaxFontPoints},
    {value::ScrollbackLimit, settings::limits::MinScrollback, settings::limits::MaxScrollback},
    {value::HistoryLength, settings::limits::MinHistoryLength, settings::limits::MaxHistoryLength},
    {value::DockedHeight, settings::limits::MinDockedHeight, settings::limits::MaxDockedHeight},
    {value::KeepHistory, 0, 1},
    {value::ShowForNewWindows, 0, 1},
    {value::StartAtSignIn, 0, 1},
};

const wchar_t* const StringValues[] = {value::FontFace, value::Colours};

const wchar_t* const ConsoleFaces[] = {L"Cascadia Mono", L"Consolas", L"Lucida Console"};

int CALLBACK NoteFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context)
{
    auto* faces = reinterpret_cast<std::vector<std::wstring>*>(context);
    if (font->lfFaceName[0] != L'@')
        faces->push_back(font->lfFaceName);
    return 1;
}

// A font family of this machine that no host takes by default: the faces installed differ.
std::wstring AnotherInstalledFace()
{
    std::vector<std::wstring> faces;
    const HDC screen = ::GetDC(nullptr);
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(screen, &all, NoteFamily, reinterpret_cast<LPARAM>(&faces), 0);
    ::ReleaseDC(nullptr, screen);
    const std::wstring taken = settings::DefaultSettings(HostKind::Companion).fontFace;
    for (const std::wstring& face : faces) {
        if (face != taken && face.size() < LF_FACESIZE)
            return face;
    }
    return std::wstring();
}

TEST(SettingsStore, MissingValuesReadAsEachHostsDefaults)
{
    const registry_test::ScratchKey scratch;
    const ConsoleSettings band = settings::ReadSettings(scratch.Get(), HostKind::Band);
    EXPECT_EQ(settings::DefaultSettings(HostKind::Band), band);
    EXPECT_EQ(band, settings::ReadSettings(nullptr, HostKind::Band)) << "no key at all";
    // The band looks as it always did.
    LOGFONTW dialogFont{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(dialogFont), &dialogFont);
    EXPECT_EQ(std::wstring(dialogFont.lfFaceName), band.fontFace);
    EXPECT_EQ(ColourChoice::Window, band.colours);
    EXPECT_EQ(30, band.historyLength);
    EXPECT_FALSE(band.keepHistory);
    EXPECT_EQ(1000000, band.scrollbackLimit);

    const ConsoleSettings companion = settings::ReadSettings(scratch.Get(), HostKind::Companion);
    EXPECT_EQ(settings::DefaultSettings(HostKind::Companion), companion);
    EXPECT_EQ(ColourChoice::AppTheme, companion.colours);
    EXPECT_EQ(500, companion.historyLength);
    EXPECT_TRUE(companion.keepHistory);
    EXPECT_EQ(10, companion.fontPoints);
    // The first console face installed, or on a machine with none of them a fixed-pitch one.
    std::wstring expectedFace;
    for (const wchar_t* face : ConsoleFaces) {
        if (expectedFace.empty() && settings::IsFontInstalled(face))
            expectedFace = face;
    }
    if (expectedFace.empty())
        EXPECT_TRUE(settings::IsFixedPitchFont(companion.fontFace)) << companion.fontFace;
    else
        EXPECT_EQ(expectedFace, companion.fontFace);
    EXPECT_TRUE(companion.showForNewWindows);
    EXPECT_FALSE(companion.startAtSignIn);
    EXPECT_EQ(settings::DefaultShortcut, companion.shortcut);
    EXPECT_TRUE(settings::IsUsableShortcut(companion.shortcut));
}

// Every kind of bad value, all values at once: what is read is the default, each time.
TEST(SettingsStore, WrongTypesAndValuesOutOfRangeReadAsTheDefaults)
{
    const registry_test::ScratchKey scratch;
    const HKEY key = scratch.Get();
    const ConsoleSettings defaults = settings::DefaultSettings(HostKind::Companion);
    const auto expectDefaults = [&](const char* round) {
        EXPECT_EQ(defaults, settings::ReadSettings(key, HostKind::Companion)) << round;
    };

    for (const NumberValue& number : NumberValues)
        SetString(key, number.name, std::to_wstring(number.lowest));
    for (const wchar_t* name : StringValues)
        SetDword(key, name, 1);
    SetString(key, value::Shortcut, L"Ctrl+Alt+F11");
    expectDefaults("strings for numbers, numbers for strings");

    const BYTE bytes[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    for (const NumberValue& number : NumberValues)
        SetRaw(key, number.name, REG_BINARY, bytes, 4);
    SetRaw(key, value::Shortcut, REG_QWORD, bytes, 8);
    for (const wchar_t* name : StringValues)
        SetString(key, name, L"dark", REG_EXPAND_SZ);
    expectDefaults("binary, quad words, expandable strings");

    for (const NumberValue& number : NumberValues)
        SetDword(key, number.name, number.lowest - 1);
    SetString(key, value::FontFace, L"");
    SetString(key, value::Colours, L"purple");
    SetDword(key, value::Shortcut, MAKELONG(VK_SPACE, MOD_CONTROL));
    expectDefaults("below the range, empty, unknown, Ctrl+Space");

    for (const NumberValue& number : NumberValues)
        SetDword(key, number.name, number.highest + 1);
    SetDword(key, value::ScrollbackLimit, 0xFFFFFFFF);
    SetString(key, value::FontFace, L"No Such Font Anywhere");
    SetString(key, value::Colours, std::wstring(200, L'd'));
    SetDword(key, value::Shortcut, MAKELONG('C', 0));
    expectDefaults("above the range, a font not installed, a string too long, a key without modifiers");

    SetDword(key, value::Shortcut, MAKELONG(VK_CONTROL, MOD_CONTROL | MOD_ALT));
    SetDword(key, value::FontSize, 0x100000 | 12);
    expectDefaults("a modifier as the key, a size in the high word");
}

TEST(SettingsStore, ValuesAtTheEdgesOfTheirRangesAreRead)
{
    const registry_test::ScratchKey scratch;
    const HKEY key = scratch.Get();
    SetDword(key, value::FontSize, settings::limits::MaxFontPoints);
    SetDword(key, value::ScrollbackLimit, settings::limits::MinScrollback);
    SetDword(key, value::HistoryLength, settings::limits::MaxHistoryLength);
    SetDword(key, value::DockedHeight, settings::limits::MinDockedHeight);
    SetDword(key, value::KeepHistory, 1);
    SetDword(key, value::StartAtSignIn, 1);
    SetDword(key, value::ShowForNewWindows, 0);
    SetDword(key, value::Shortcut, 0);
    const std::wstring face = AnotherInstalledFace();
    ASSERT_NE(L"", face);
    SetString(key, value::FontFace, face);
    // Stored without its closing null, in another case, and followed by a null and more.
    SetRaw(key, value::Colours, REG_SZ, L"DaRk\0junk", 9 * sizeof(wchar_t));

    const ConsoleSettings band = settings::ReadSettings(key, HostKind::Band);
    EXPECT_EQ(72, band.fontPoints);
    EXPECT_EQ(10000, band.scrollbackLimit);
    EXPECT_EQ(10000, band.historyLength);
    EXPECT_EQ(60, band.dockedHeight);
    EXPECT_TRUE(band.keepHistory);
    EXPECT_TRUE(band.startAtSignIn);
    EXPECT_FALSE(band.showForNewWindows);
    EXPECT_EQ(0u, band.shortcut) << "no shortcut at all";
    EXPECT_EQ(face, band.fontFace);
    EXPECT_EQ(ColourChoice::Dark, band.colours);

    SetRaw(key, value::Colours, REG_SZ, L"light", 5 * sizeof(wchar_t));
    EXPECT_EQ(ColourChoice::Light, settings::ReadSettings(key, HostKind::Band).colours);
}

// A value the user did not change stays unset, so each host keeps its own default for it.
TEST(SettingsStore, OnlyChangedValuesAreWrittenAndReadBack)
{
    const registry_test::ScratchKey scratch;
    const ConsoleSettings before = settings::ReadSettings(scratch.Get(), HostKind::Companion);
    ConsoleSettings after = before;
    after.colours = ColourChoice::Dark;
    after.scrollbackLimit = 20000;
    after.shortcut = 0;
    ASSERT_EQ(ERROR_SUCCESS, settings::WriteChangedSettings(scratch.Get(), before, after));
    EXPECT_EQ((registry_test::Lines{L" : Colours = s:dark", L" : ScrollbackLimit = d:204E0000",
                                    L" : Shortcut = d:00000000"}),
              registry_test::DumpTree(scratch.Get()));

    EXPECT_EQ(after, settings::ReadSettings(scratch.Get(), HostKind::Companion));
    ConsoleSettings band = settings::DefaultSettings(HostKind::Band);
    band.colours = ColourChoice::Dark;
    band.scrollbackLimit = 20000;
    band.shortcut = 0;
    EXPECT_EQ(band, settings::ReadSettings(scratch.Get(), HostKind::Band)) << "the band's font and history stay its own";

    ConsoleSettings every = after;
    every.fontFace = AnotherInstalledFace();
    every.fontPoints = 14;
    every.colours = ColourChoice::AppTheme;
    every.scrollbackLimit = 5000000;
    every.historyLength = 77;
    every.keepHistory = false;
    every.dockedHeight = 333;
    every.showForNewWindows = false;
    every.startAtSignIn = true;
    every.shortcut = MAKELONG(VK_F9, MOD_WIN | MOD_SHIFT);
    ASSERT_EQ(ERROR_SUCCESS, settings::WriteChangedSettings(scratch.Get(), after, every));
    EXPECT_EQ(10u, registry_test::DumpTree(scratch.Get()).size());
    EXPECT_EQ(every, settings::ReadSettings(scratch.Get(), HostKind::Band));
}

}  // namespace
