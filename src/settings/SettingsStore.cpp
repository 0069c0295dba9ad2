#include "settings/SettingsStore.h"

#include "settings/InstalledFonts.h"
#include "support/UniqueRegistryKey.h"

#include <optional>

namespace settings {

namespace {

struct ColourName {
    ColourChoice choice;
    const wchar_t* name;
};
constexpr ColourName ColourNames[] = {
    {ColourChoice::AppTheme, L"theme"},
    {ColourChoice::Light, L"light"},
    {ColourChoice::Dark, L"dark"},
    {ColourChoice::Window, L"window"},
};

// Longer strings than this are no value of ours; they are not read at all.
constexpr DWORD LongestString = 64;

std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(data))
        return std::nullopt;
    return data;
}

int ReadNumber(HKEY key, const wchar_t* name, int lowest, int highest, int fallback)
{
    const std::optional<DWORD> read = ReadDword(key, name);
    if (!read || *read < static_cast<DWORD>(lowest) || *read > static_cast<DWORD>(highest))
        return fallback;
    return static_cast<int>(*read);
}

bool ReadFlag(HKEY key, const wchar_t* name, bool fallback)
{
    const std::optional<DWORD> read = ReadDword(key, name);
    if (!read || *read > 1)
        return fallback;
    return *read == 1;
}

std::optional<std::wstring> ReadString(HKEY key, const wchar_t* name)
{
    DWORD type = 0;
    wchar_t data[LongestString + 1] = {};
    DWORD size = LongestString * sizeof(wchar_t);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    // Stored strings need not end in a null, and may hold one before their end.
    std::wstring text(data, size / sizeof(wchar_t));
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    return text;
}

ColourChoice ReadColours(HKEY key, ColourChoice fallback)
{
    const std::optional<std::wstring> read = ReadString(key, value::Colours);
    if (!read)
        return fallback;
    for (const ColourName& known : ColourNames) {
        if (::CompareStringOrdinal(read->c_str(), -1, known.name, -1, TRUE) == CSTR_EQUAL)
            return known.choice;
    }
    return fallback;
}

std::wstring ReadFontFace(HKEY key, const std::wstring& fallback)
{
    const std::optional<std::wstring> read = ReadString(key, value::FontFace);
    if (!read || read->empty() || read->size() >= LF_FACESIZE || !IsFontInstalled(*read))
        return fallback;
    return *read;
}

DWORD ReadShortcut(HKEY key, DWORD fallback)
{
    const std::optional<DWORD> read = ReadDword(key, value::Shortcut);
    return read && IsUsableShortcut(*read) ? *read : fallback;
}

const wchar_t* ColourNameOf(ColourChoice choice)
{
    for (const ColourName& known : ColourNames) {
        if (known.choice == choice)
            return known.name;
    }
    return ColourNames[0].name;
}

// Writes values one after the other and remembers the first failure.
class ValueWriter {
public:
    explicit ValueWriter(HKEY key) : key(key) {}

    void Number(const wchar_t* name, DWORD before, DWORD after)
    {
        if (before != after)
            Note(::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&after), sizeof(after)));
    }
    void String(const wchar_t* name, const std::wstring& before, const std::wstring& after)
    {
        if (before == after)
            return;
        const DWORD size = static_cast<DWORD>((after.size() + 1) * sizeof(wchar_t));
        Note(::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(after.c_str()), size));
    }
    LSTATUS Status() const { return status; }

private:
    void Note(LSTATUS written)
    {
        if (status == ERROR_SUCCESS)
            status = written;
    }

    HKEY key;
    LSTATUS status = ERROR_SUCCESS;
};

}  // namespace

ConsoleSettings ReadSettings(HostKind host)
{
    support::UniqueRegistryKey key;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, key.Receive());
    return ReadSettings(key.Get(), host);
}

ConsoleSettings ReadSettings(HKEY key, HostKind host)
{
    const ConsoleSettings defaults = DefaultSettings(host);
    if (!key)
        return defaults;
    ConsoleSettings read;
    read.fontFace = ReadFontFace(key, defaults.fontFace);
    read.fontPoints = ReadNumber(key, value::FontSize, limits::MinFontPoints, limits::MaxFontPoints, defaults.fontPoints);
    read.colours = ReadColours(key, defaults.colours);
    read.scrollbackLimit = ReadNumber(key, value::ScrollbackLimit, limits::MinScrollback, limits::MaxScrollback,
                                      defaults.scrollbackLimit);
    read.historyLength = ReadNumber(key, value::HistoryLength, limits::MinHistoryLength, limits::MaxHistoryLength,
                                    defaults.historyLength);
    read.keepHistory = ReadFlag(key, value::KeepHistory, defaults.keepHistory);
    read.dockedHeight = ReadNumber(key, value::DockedHeight, limits::MinDockedHeight, limits::MaxDockedHeight,
                                   defaults.dockedHeight);
    read.showForNewWindows = ReadFlag(key, value::ShowForNewWindows, defaults.showForNewWindows);
    read.startAtSignIn = ReadFlag(key, value::StartAtSignIn, defaults.startAtSignIn);
    read.shortcut = ReadShortcut(key, defaults.shortcut);
    return read;
}

LSTATUS WriteChangedSettings(HKEY key, const ConsoleSettings& before, const ConsoleSettings& after)
{
    ValueWriter write(key);
    write.String(value::FontFace, before.fontFace, after.fontFace);
    write.Number(value::FontSize, before.fontPoints, after.fontPoints);
    write.String(value::Colours, ColourNameOf(before.colours), ColourNameOf(after.colours));
    write.Number(value::ScrollbackLimit, before.scrollbackLimit, after.scrollbackLimit);
    write.Number(value::HistoryLength, before.historyLength, after.historyLength);
    write.Number(value::KeepHistory, before.keepHistory, after.keepHistory);
    write.Number(value::DockedHeight, before.dockedHeight, after.dockedHeight);
    write.Number(value::ShowForNewWindows, before.showForNewWindows, after.showForNewWindows);
    write.Number(value::StartAtSignIn, before.startAtSignIn, after.startAtSignIn);
    write.Number(value::Shortcut, before.shortcut, after.shortcut);
    return write.Status();
}

LSTATUS SaveChangedSettings(const ConsoleSettings& before, const ConsoleSettings& after)
{
    if (before == after)
        return ERROR_SUCCESS;
    support::UniqueRegistryKey key;
    const LSTATUS opened = ::RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                             key.Receive(), nullptr);
    if (opened != ERROR_SUCCESS)
        return opened;
    return WriteChangedSettings(key.Get(), before, after);
}

}  // namespace settings
