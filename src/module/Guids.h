#pragma once

#include <windows.h>

// The four fixed identities of the component. The type library description, the registration
// scripts and these constants must agree; the registration tests compare them.
extern "C" const CLSID CLSID_ConsoleCore;
extern "C" const IID LIBID_BrimblestoneLib;
extern "C" const IID IID_IConsoleCore;
extern "C" const GUID APPID_Brimblestone;

namespace server {

// Braced registry forms of the same identities.
constexpr const wchar_t* ConsoleCoreClassIdText = L"{415A23DE-838A-4A57-B918-99D1D0CEDEFA}";
constexpr const wchar_t* LibraryIdText = L"{44BF29E4-2299-4CC8-BFB6-8580D6ECCFA2}";
constexpr const wchar_t* ConsoleCoreInterfaceIdText = L"{AF684E6D-9B8C-4AA5-8AEA-5EB49D576D81}";
constexpr const wchar_t* AppIdText = L"{D387FCFC-8585-4FAA-808D-6F0869B6FE12}";

}  // namespace server
