#include "console/PipeTextWriter.h"

#include <new>
#include <string>

namespace console {

BOOL WriteTextToPipe(HANDLE pipe, const wchar_t* text, UINT codePage)
{
    if (!pipe || !text || !*text)
        return FALSE;
    const int size = ::WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return FALSE;
    try {
        std::string bytes(static_cast<std::size_t>(size), '\0');
        if (::WideCharToMultiByte(codePage, 0, text, -1, &bytes[0], size, nullptr, nullptr) != size)
            return FALSE;
        DWORD written = 0;
        return ::WriteFile(pipe, bytes.data(), static_cast<DWORD>(size - 1), &written, nullptr);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

}  // namespace console
