#pragma once

#include "shared/ProcessProbe.h"
#include "support/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace consoletest {

constexpr DWORD GenerousBound = 20000;

// What the interpreter's workers delivered to a window.
struct Delivered {
    std::wstring output;
    std::wstring error;
    std::vector<std::size_t> outputChunkLengths;
    int exited = 0;
};

// A message-only window on the creating thread that collects the interpreter's messages.
class CollectingWindow {
public:
    CollectingWindow();

    HWND Handle() const { return window.Get(); }
    Delivered& Got() { return delivered; }

    // Processes this thread's messages until `done` holds or the bound has passed; returns `done()`.
    bool PumpUntil(const std::function<bool()>& done, DWORD bound = GenerousBound);
    // Waits until new output after `since` characters ends in the interpreter's prompt.
    bool WaitForPrompt(std::size_t since);
    // Processes whatever has already been sent or posted to this thread.
    void ProcessPending();
    bool WaitForExited() { return PumpUntil([this] { return delivered.exited > 0; }); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Delivered delivered;
    support::UniqueWindow window;
};

using testsupport::ChildProcessIds;
using testsupport::ProcessIds;
// The one id in `after` that is not in `before`, or 0.
DWORD NewProcessId(const std::vector<DWORD>& before, const std::vector<DWORD>& after);
support::UniqueHandle OpenForExitCode(DWORD processId);
DWORD ExitCodeOf(HANDLE process);

using testsupport::CountOpenHandles;

// Whether any top-level window of the process is visible.
bool HasVisibleWindow(DWORD processId);

// A fresh folder under the temporary folder, removed with its files at destruction.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const wchar_t* name);
    ~TemporaryFolder();
    const std::wstring& Path() const { return path; }
    std::wstring WriteFile(const wchar_t* name, const std::string& content) const;

private:
    std::wstring path;
    mutable std::vector<std::wstring> files;
};

}  // namespace consoletest
