#pragma once

#include "console/ConsoleProcess.h"
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
    std::vector<console::MarkedPrompt> prompts;  // at their offsets in `output`
    std::vector<std::size_t> takenLengths;  // how much text each take from the output queue held
    std::size_t dropped = 0;  // characters the takes said were left out before their text
    int exited = 0;
    std::size_t outputAtExit = 0;  // how much output had arrived when the exit was reported
};

// A message-only window on the creating thread that collects the interpreter's messages and,
// on each notice, takes the output queued as the band does.
class CollectingWindow {
public:
    CollectingWindow();
    CollectingWindow(const CollectingWindow&) = delete;
    CollectingWindow& operator=(const CollectingWindow&) = delete;

    // Starts `console` with this window to notify; its output is taken from then on.
    BOOL Start(console::ConsoleProcess& console, const wchar_t* directory, HMODULE helperLibrary = nullptr);
    HWND Handle() const { return window.Get(); }
    Delivered& Got() { return delivered; }
    // Milliseconds each notice is held up, as a window busy showing text is.
    void TakeSlowly(DWORD delay) { takeDelay = delay; }
    // While held, notices take nothing, as a window whose thread is busy elsewhere; released, the
    // window takes what waits at once.
    void HoldTakes(bool held);

    // Processes this thread's messages until `done` holds or the bound has passed; returns `done()`.
    bool PumpUntil(const std::function<bool()>& done, DWORD bound = GenerousBound);
    // Waits until new output after `since` characters ends in the interpreter's prompt.
    bool WaitForPrompt(std::size_t since);
    // Waits until more than `since` marked prompts have arrived.
    bool WaitForMarkedPrompt(std::size_t since);
    // Processes whatever has already been sent or posted to this thread.
    void ProcessPending();
    bool WaitForExited() { return PumpUntil([this] { return delivered.exited > 0; }); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void TakeOutput();

    Delivered delivered;
    console::ConsoleProcess* source = nullptr;
    DWORD takeDelay = 0;
    bool takesHeld = false;
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

// A helper program for the interpreter to run: this test program running one of its disabled
// ConsoleHelper tests, which waits for Release() where it has to wait.
class HelperProgram {
public:
    HelperProgram();
    // The line that makes the interpreter run the helper test `name`, with its line end.
    std::wstring CommandLine(const wchar_t* name) const;
    void Release() const { ::SetEvent(release.Get()); }
    // In the helper: waits until the test releases it (at most a minute); false when not run by a test.
    static bool WaitForRelease();

private:
    support::UniqueHandle release;
};

// A fresh folder under the temporary folder, removed with its files at destruction.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const wchar_t* name);
    ~TemporaryFolder();
    const std::wstring& Path() const { return path; }
    std::wstring WriteFile(const wchar_t* name, const std::string& content) const;
    // Creates the folder `name` in this one (removed before it) and returns its path.
    std::wstring Folder(const wchar_t* name) const;

private:
    std::wstring path;
    mutable std::vector<std::wstring> files;
    mutable std::vector<std::wstring> folders;
};

}  // namespace consoletest
