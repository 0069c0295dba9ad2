#include "FileUrl.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace standin {
namespace {

std::string Utf8FromWide(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                          nullptr, nullptr);
    return bytes;
}

std::optional<std::wstring> WideFromUtf8(const std::string& bytes)
{
    if (bytes.empty())
        return std::wstring();
    const int size = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::wstring text(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                          text.data(), size);
    return text;
}

bool NeedsEscape(unsigned char byte)
{
    if (byte <= 0x20 || byte >= 0x7F)
        return true;
    static const char unsafe[] = "\"#%<>?\\^`{|}";
    return std::find(std::begin(unsafe), std::end(unsafe) - 1, static_cast<char>(byte)) !=
           std::end(unsafe) - 1;
}

int HexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    const size_t length = wcslen(prefix);
    return text.size() >= length && ::CompareStringOrdinal(text.c_str(), static_cast<int>(length), prefix,
                                                           static_cast<int>(length), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring FileUrlFromPath(const std::wstring& path)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    std::wstring url = L"file:///";
    for (const char raw : Utf8FromWide(path)) {
        const auto byte = static_cast<unsigned char>(raw);
        if (byte == '\\') {
            url += L'/';
        } else if (NeedsEscape(byte)) {
            url += L'%';
            url += static_cast<wchar_t>(hexDigits[byte >> 4]);
            url += static_cast<wchar_t>(hexDigits[byte & 0x0F]);
        } else {
            url += static_cast<wchar_t>(byte);
        }
    }
    return url;
}

std::optional<std::wstring> PercentDecoded(const std::wstring& text)
{
    const std::string bytes = Utf8FromWide(text);
    std::string decoded;
    decoded.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && i + 2 < bytes.size()) {
            const int upper = HexValue(bytes[i + 1]);
            const int lower = HexValue(bytes[i + 2]);
            if (upper >= 0 && lower >= 0) {
                decoded += static_cast<char>(upper * 16 + lower);
                i += 2;
                continue;
            }
        }
        decoded += bytes[i];
    }
    return WideFromUtf8(decoded);
}

std::optional<std::wstring> PathPartOfFileUrl(const std::wstring& url)
{
    if (!StartsWithNoCase(url, L"file:"))
        return std::nullopt;
    std::wstring rest = url.substr(5);
    std::replace(rest.begin(), rest.end(), L'/', L'\\');
    if (rest.compare(0, 3, L"\\\\\\") == 0)
        return rest.substr(3);
    return rest;
}

}  // namespace standin
