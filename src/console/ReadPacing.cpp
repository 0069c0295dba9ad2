#include "console/ReadPacing.h"

namespace console {

DWORD ReadPacing::After(DWORD bytes, Clock::time_point now) noexcept
{
    const bool streaming = readBefore && now - lastRead < StreamGap;
    lastRead = now;
    readBefore = true;
    return streaming && bytes < bufferSize / 2 ? Pause : 0;
}

}  // namespace console
