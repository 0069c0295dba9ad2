#include "support/CommandLineQuoting.h"

namespace support {

std::wstring QuotedWhenNeeded(const std::wstring& name, bool always)
{
    if (always || name.find_first_of(L" &()[]{}^=;!'+,`~") != std::wstring::npos)
        return L'"' + name + L'"';
    return name;
}

}  // namespace support
