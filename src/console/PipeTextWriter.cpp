#include "console/PipeTextWriter.h"

#include "console/ExactEncoding.h"

#include <new>

namespace console {

BOOL ConvertTextForPipe(const wchar_t* text, UINT codePage, std::string& bytes)
{
    if (!text || !*text)
        return FALSE;
    try {
        return EncodeExactly(text, codePage, bytes) ? TRUE : FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

}  // namespace console
