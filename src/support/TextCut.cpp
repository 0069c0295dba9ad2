#include "support/TextCut.h"

#include <algorithm>

namespace support {

std::size_t CutAfterLineEnd(const std::wstring& text, std::size_t wanted, std::size_t span)
{
    if (wanted >= text.size())
        return text.size();
    // A line end right before `wanted` already begins the rest there.
    const std::size_t lineEnd = text.find(L'\n', wanted == 0 ? 0 : wanted - 1);
    if (lineEnd != std::wstring::npos && lineEnd < std::min(text.size(), wanted + span))
        return lineEnd + 1;
    const wchar_t next = text[wanted];
    return next >= 0xDC00 && next <= 0xDFFF ? wanted + 1 : wanted;
}

}  // namespace support
