#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// A program the build made under tools/, by its path below build/<architecture>/tools.
std::wstring BuiltToolPath(const std::wstring& relative);
// A file the build made beside the product library, in build/<architecture> (the companion program).
std::wstring BuiltProductPath(const std::wstring& name);

// Starts the program with the arguments, each quoted; an empty handle when it could not start.
support::UniqueHandle StartProgram(const std::wstring& program, const std::vector<std::wstring>& arguments,
                                   DWORD* processId = nullptr);
// Runs the program to its end and answers its exit code; -1 when it could not start or did not
// end within the time (it is then ended).
int RunToEnd(const std::wstring& program, const std::vector<std::wstring>& arguments, DWORD timeoutMs = 60000);

// The built library, which exports the console's helper entry points, loaded once for good; null
// when it is missing. It is only looked into, never run: the console needs only its file and its
// entry points.
HMODULE BuiltHelperLibrary();

}  // namespace testsupport
