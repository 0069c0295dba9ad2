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

HRESULT EncodeNumber(const std::wstring& token, std::vector<BYTE>& data)
{
    std::wstring text(token);
    ULONG number = 0;
    if (FAILED(::VarUI4FromStr(&text[0], 0, 0, &number)))
        return DISP_E_EXCEPTION;
    const DWORD value = number;
    data.resize(sizeof(value));
    std::memcpy(data.data(), &value, sizeof(value));
    return S_OK;
}

BYTE HexDigitValue(wchar_t digit) noexcept
{
    if (digit >= L'0' && digit <= L'9')
        return static_cast<BYTE>(digit - L'0');
    if (digit >= L'a' && digit <= L'f')
        return static_cast<BYTE>(digit - L'a' + 10);
    if (digit >= L'A' && digit <= L'F')
        return static_cast<BYTE>(digit - L'A' + 10);
    return 0;
}

HRESULT EncodeBinary(const std::wstring& token, std::vector<BYTE>& data)
{
    if (token.size() % 2 != 0)
        return E_FAIL;
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
