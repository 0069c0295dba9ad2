#pragma once

#include <windows.h>

#include <string>

namespace companion {

// The program's entry among the user's programs that start at sign-in (HKEY_CURRENT_USER\...\Run),
// written and removed by the program itself as the user's setting says.
constexpr const wchar_t* SignInEntryName = L"Brimblestone Console";

// Writes the entry for the program at `programPath`, or removes it; ERROR_SUCCESS or the error met.
// Removing an entry that is not there succeeds.
LSTATUS SetSignInEntry(bool start, const std::wstring& programPath);

}  // namespace companion
