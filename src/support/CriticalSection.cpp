#include "support/CriticalSection.h"

namespace support {

CriticalSection::CriticalSection() noexcept
    : section(), initialised(::InitializeCriticalSectionAndSpinCount(&section, 0) != FALSE)
{
}

CriticalSection::~CriticalSection()
{
    if (initialised)
        ::DeleteCriticalSection(&section);
}

}  // namespace support
