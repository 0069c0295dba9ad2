#include "support/SystemMessage.h"

#include <cwchar>

namespace support {

std::wstring SystemMessage(DWORD error)
{
    wchar_t text[512] = {};
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                    text, static_cast<DWORD>(sizeof(text) / sizeof(text[0])), nullptr);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ' ||
                          text[length - 1] == L'.'))
        --length;
    if (length == 0) {
        std::swprintf(text, sizeof(text) / sizeof(text[0]), L"error 0x%08lX", static_cast<unsigned long>(error));
        return text;
    }
    return std::wstring(text, length);
}

}  // namespace support
