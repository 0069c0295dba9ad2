#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace shellwindows {

// Registers the double in HKLM\Software\Classes, in both registry views where there are two: a
// class of its own (LocalServer32: the program) and TreatAs on CLSID_ShellWindows naming it.
// Every registration names a new class and removes the one it replaces. Wine 8's service that
// keeps the running class objects never forgets the class of a server that was killed (only of
// one that revoked it), and a client then gets REGDB_E_CLASSNOTREG instead of a new server; a
// fresh class after such an end lets the next client start a new server.
// The keys are volatile: a Wine prefix whose server ends forgets them, so a test that dies before
// unregistering cannot leave the shell's own list hidden. False when a key could not be written.
bool RegisterServer(const std::wstring& programPath);
// Removes TreatAs and the double's class it names; a TreatAs naming another class stays.
bool UnregisterServer();
// The class that the running server serves: the double's class that TreatAs names now.
std::optional<CLSID> RegisteredClass();

}  // namespace shellwindows
