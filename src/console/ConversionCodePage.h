#pragma once

#include <windows.h>

namespace console {

// The code page of every conversion between the interpreter's bytes and the band's wide text,
// chosen once on first use.
UINT ConversionCodePage();

}  // namespace console
