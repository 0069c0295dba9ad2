#include "registration/ValueData.h"

#include <oleauto.h>

#include <cstring>

namespace registration {
namespace {

void AppendWideText(const wchar_t* text, std::size_t characters, std::vector<BYTE>& data)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text);
    data.assign(bytes, bytes + characters * sizeof(wchar_t));
}

void EncodeString(const std::wstring& token, std::vector<BYTE>& data)
{
    AppendWideText(token.c_str(), token.size() + 1, data);
}

// "\0" separates the strings; the list ends at its first empty string.
void EncodeMultiString(const std::wstring& token, std::vector<BYTE>& data)
{
    std::wstring strings;
    for (std::size_t index = 0; index < token.size(); ++index) {
        if (token[index] == L'\\' && index + 1 < token.size() && token[index + 1] == L'0') {
            strings.push_back(L'\0');
            ++index;
        } else {
            strings.push_back(token[index]);
        }
    }
    strings.append(2, L'\0');
    std::size_t used = 0;
    for (;;) {
        const std::size_t length = std::wcslen(strings.c_str() + used);
        used += length + 1;
        if (length == 0)
            break;
    }
    AppendWideText(strings.c_str(), used, data);
}

// Decimal digits only: a conversion would otherwise round "2.5" to 2 or read signs and separators.
HRESULT EncodeNumber(const std::wstring& token, std::vector<BYTE>& data)
{
    if (token.empty() || token.find_first_not_of(L"0123456789") != std::wstring::npos)
        return DISP_E_EXCEPTION;
    std::wstring text(token);
    ULONG number = 0;
    if (FAILED(::VarUI4FromStr(&text[0], 0, 0, &number)))
        return DISP_E_EXCEPTION;
    const DWORD value = number;
    data.resize(sizeof(value));
    std::memcpy(data.data(), &value, sizeof(value));
    return S_OK;
}

// The value of a hex digit, or -1 for any other character.
int HexDigitValue(wchar_t digit) noexcept
{
    if (digit >= L'0' && digit <= L'9')
        return digit - L'0';
    if (digit >= L'a' && digit <= L'f')
        return digit - L'a' + 10;
    if (digit >= L'A' && digit <= L'F')
        return digit - L'A' + 10;
    return -1;
}

HRESULT EncodeBinary(const std::wstring& token, std::vector<BYTE>& data)
{
    if (token.size() % 2 != 0)
        return DISP_E_EXCEPTION;
    for (const wchar_t digit : token) {
        if (HexDigitValue(digit) < 0)
            return DISP_E_EXCEPTION;
    }
    data.clear();
    for (std::size_t index = 0; index < token.size(); index += 2)
        data.push_back(static_cast<BYTE>(HexDigitValue(token[index]) << 4 |
                                         HexDigitValue(token[index + 1])));
    return S_OK;
}

}  // namespace

HRESULT EncodeValueData(DWORD type, const std::wstring& token, std::vector<BYTE>& data)
{
    switch (type) {
    case REG_SZ:
        EncodeString(token, data);
        return S_OK;
    case REG_MULTI_SZ:
        EncodeMultiString(token, data);
        return S_OK;
    case REG_DWORD:
        return EncodeNumber(token, data);
    case REG_BINARY:
        return EncodeBinary(token, data);
    default:
        return DISP_E_EXCEPTION;
    }
}

}  // namespace registration
