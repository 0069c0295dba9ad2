#pragma once

#include <windows.h>

namespace console {

// The code page in which a newly started interpreter reads its piped input and writes redirected
// output: that of the console it gets, the OEM code page, until a "chcp" changes it.
UINT InitialConsoleCodePage();

}  // namespace console
