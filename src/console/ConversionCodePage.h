#pragma once

#include <windows.h>

namespace console {

// The code page of every conversion between the interpreter's bytes and the band's wide text,
// chosen once on first use.
UINT ConversionCodePage();

// The concrete code page that the conversion code page stands for on the calling thread. Worker
// threads have locales of their own, so the thread that starts the interpreter resolves it for them.
UINT ResolvedConversionCodePage();

}  // namespace console
