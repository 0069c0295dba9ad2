#include "console/PipeTextWriter.h"

#include "console/ExactEncoding.h"

#include <new>
#include <string>

namespace console {

BOOL WriteTextToPipe(HANDLE pipe, const wchar_t* text, UINT codePage)
{
    if (!pipe || !text || !*text)
        return FALSE;
    try {
        std::string bytes;
        if (!EncodeExactly(text, codePage, bytes))
            return FALSE;
        DWORD written = 0;
        return ::WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

}  // namespace console
