#pragma once

#include <windows.h>

#include <vector>

namespace testsupport {

// The number of open handles of this process, found by probing every handle value: under Wine
// GetProcessHandleCount answers 0.
int CountOpenHandles();
// The number of threads of this process.
int CountThreads();
// Process ids of the running programs named `exeName` that `parent` (by default this process) started.
std::vector<DWORD> ChildProcessIds(const wchar_t* exeName, DWORD parent = ::GetCurrentProcessId());
// Process ids of the running programs named `exeName`, wherever started.
std::vector<DWORD> ProcessIds(const wchar_t* exeName);
// The top-level windows of the process with the window class, in no particular order.
std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className);

}  // namespace testsupport
