#include "session/FileLocation.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>

namespace session {

namespace {

constexpr wchar_t FileLocationPrefix[] = L"file:///";
constexpr size_t FileLocationPrefixLength = sizeof(FileLocationPrefix) / sizeof(wchar_t) - 1;

int HexDigitValue(wchar_t digit)
{
    if (digit >= L'0' && digit <= L'9')
        return digit - L'0';
    if (digit >= L'a' && digit <= L'f')
        return digit - L'a' + 10;
    if (digit >= L'A' && digit <= L'F')
        return digit - L'A' + 10;
    return -1;
}

// The byte of a "%XX" escape at position, or -1 when no escape starts there.
int EscapedByteAt(const std::wstring& text, size_t position)
{
    if (position + 2 >= text.size() || text[position] != L'%')
        return -1;
    const int high = HexDigitValue(text[position + 1]);
    const int low = HexDigitValue(text[position + 2]);
    if (high < 0 || low < 0)
        return -1;
    return high * 16 + low;
}

// Appends the UTF-8 bytes of one run of escapes as wide text; false when they spell no text.
bool AppendUtf8(const std::string& bytes, std::wstring& decoded)
{
    if (bytes.find('\0') != std::string::npos)
        return false;
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0)
        return false;
    const size_t start = decoded.size();
    decoded.resize(start + static_cast<size_t>(length));
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                          &decoded[start], length);
    return true;
}

// Decodes every "%XX" escape, runs of them as UTF-8; a "%" without two hex digits stays as it is.
bool DecodePercentEscapes(const std::wstring& text, std::wstring& decoded)
{
    decoded.clear();
    size_t position = 0;
    while (position < text.size()) {
        std::string bytes;
        for (int byte = EscapedByteAt(text, position); byte >= 0; byte = EscapedByteAt(text, position)) {
            bytes.push_back(static_cast<char>(byte));
            position += 3;
        }
        if (!bytes.empty()) {
            if (!AppendUtf8(bytes, decoded))
                return false;
            continue;
        }
        decoded.push_back(text[position]);
        ++position;
    }
    return true;
}

bool IsBareDrive(const std::wstring& path)
{
    return path.size() == 2 && path[1] == L':' && std::iswalpha(path[0]);
}

// The path that a "file:///" location names, or false when it names no folder.
bool PathFromFileLocation(const wchar_t* location, std::wstring& path)
{
    std::wstring encoded(location + FileLocationPrefixLength);
    for (wchar_t& character : encoded) {
        if (character == L'/')
            character = L'\\';
    }
    if (!DecodePercentEscapes(encoded, path) || path.empty())
        return false;
    // "D:" alone would mean the current folder of drive D, not its root.
    if (IsBareDrive(path))
        path.push_back(L'\\');
    return true;
}

bool IsFileLocation(const wchar_t* location)
{
    return location && std::wcsncmp(location, FileLocationPrefix, FileLocationPrefixLength) == 0;
}

}  // namespace

std::optional<std::wstring> FolderOfLocation(const wchar_t* location)
{
    std::wstring folder;
    if (!IsFileLocation(location) || !PathFromFileLocation(location, folder))
        return std::nullopt;
    return folder;
}

std::wstring WithTrailingBackslash(std::wstring folder)
{
    if (folder.empty() || folder.back() != L'\\')
        folder.push_back(L'\\');
    return folder;
}

}  // namespace session
