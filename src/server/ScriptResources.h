#pragma once

#include <windows.h>

namespace server {

// The "REGISTRY" resources the library carries.
constexpr UINT AppIdScriptResource = 101;
constexpr UINT ConsoleCoreScriptResource = 102;

}  // namespace server
