#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace testsupport {

// Checks `done` every 20 ms, without running any messages, for 20 seconds at most: for a thread
// that watches windows another thread runs.
bool PollUntil(const std::function<bool()>& done);

std::wstring ClassOf(HWND window);
// The window's text, asked with WM_GETTEXT: the window's thread answers.
std::wstring TextOf(HWND window);

// A visible dialog box of `thread` owned by `owner` (by any window when `owner` is null), or null.
HWND FindDialog(DWORD thread, HWND owner);
// The same once one shows; null when none did within 20 seconds. Called from another thread.
HWND WaitForDialog(DWORD thread, HWND owner);

}  // namespace testsupport
