#include "console/PipeTextWriter.h"

#include <new>

namespace console {

BOOL ConvertTextForPipe(const wchar_t* text, UINT codePage, std::string& bytes)
{
    if (!text || !*text)
        return FALSE;
    const int size = ::WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return FALSE;
    try {
        bytes.assign(static_cast<std::size_t>(size), '\0');
        if (::WideCharToMultiByte(codePage, 0, text, -1, &bytes[0], size, nullptr, nullptr) != size)
            return FALSE;
        bytes.pop_back();
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

}  // namespace console
