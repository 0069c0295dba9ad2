#pragma once

#include "MessagePump.h"
#include "shared/ScratchFolder.h"
#include "shared/ShellWindowsDouble.h"
#include "shared/StandInProcess.h"
#include "shared/TextSearch.h"
#include "support/UniqueHandle.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <exdisp.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

namespace companiontest {

using Microsoft::WRL::ComPtr;
using Names = std::vector<std::wstring>;
using testsupport::CountOf;
using testsupport::EndsWith;
using testsupport::StandInProcess;

// Runs this thread's messages (event sinks of the test live on it) until `done` holds.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = standin::DefaultPumpTimeoutMs);

// The companion program (BrimblestoneConsole.exe) as a process of its own, as the user runs it,
// seen from outside: its docked consoles are its "Brimblestone Dock" windows, each holding the
// console's "Brimblestone" window and its standard "Brimblestone Editbox" text box. Ended with
// the object when still running.
class CompanionProcess {
public:
    CompanionProcess() = default;
    ~CompanionProcess();
    CompanionProcess(const CompanionProcess&) = delete;
    CompanionProcess& operator=(const CompanionProcess&) = delete;

    // Starts it and waits until its program window is there; false when it is not.
    bool Start();
    bool IsRunning() const;
    DWORD ProcessId() const { return processId; }
    // Its hidden program window, which takes the tray's and the shortcut's messages.
    HWND ProgramWindow() const;
    // Its dock windows; only the shown ones with `shownOnly`.
    std::vector<HWND> Docks(bool shownOnly) const;
    // The shown dock that lies inside the Explorer window; null when none does.
    HWND DockOver(HWND explorerWindow) const;
    // Waits for that dock and answers it; null when none came.
    HWND WaitForDockOver(HWND explorerWindow) const;
    // The interpreters it runs.
    size_t Interpreters() const;
    // Starts the program a second time with the arguments and answers its exit code.
    static int RunAgain(const std::vector<std::wstring>& arguments);
    // Asks it to end as the uninstaller does (a second start with /exit) and waits until it has.
    bool Exit();
    bool Kill();
    bool WaitForExit() const;

private:
    support::UniqueHandle process;
    DWORD processId = 0;
};

// The text box of a dock window.
HWND TextBoxOf(HWND dock);
// The text box's whole text, read as any program reads another's (WM_GETTEXT).
std::wstring TextOf(HWND textBox);
// Keys and characters posted to the text box, as the keyboard would send them.
void PressKey(HWND textBox, UINT key);
void TypeText(HWND textBox, const std::wstring& text);
// Types the line and Enter.
void TypeLine(HWND textBox, const std::wstring& line);
// Waits until the text box's text satisfies `holds`.
bool WaitForText(HWND textBox, const std::function<bool(const std::wstring&)>& holds);
bool WaitForTextEnd(HWND textBox, const std::wstring& end);
// The interpreter's prompt for a folder.
std::wstring PromptOf(const std::wstring& folder);

// The windows of the stand-in browser process: moved, placed apart, and their tabs' browsers.
void PlaceWindow(HWND window, int x, int y, int width, int height);
// Where a console docked to the window should be: the bottom of its client area, `height` pixels
// high (at 96 DPI, as under the tests' display).
RECT ExpectedDock(HWND explorerWindow, int height);

// A followed browser seen by the test itself through the list: each tab's IWebBrowser2.
class ListClient {
public:
    explicit ListClient(const testsupport::ShellWindowsDouble& list);
    // The browser of the tab window; null when the list holds none.
    ComPtr<IWebBrowser2> BrowserOf(HWND tabWindow) const;
    static std::wstring FolderOf(IWebBrowser2* browser);

private:
    ComPtr<IShellWindows> list;
};

// Each test has the list's double, a scratch folder with a few files, a stand-in browser process
// with the items view (whose names can be read from another process) and the companion program.
class CompanionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the stand-in at the folder (with further arguments) and the companion, and waits for
    // the console docked to the browser's first window and its first prompt; places the window at
    // (x, y) first.
    void StartBoth(const std::vector<std::wstring>& browserArguments = {L"--items-view"});
    // The docked console's text box of the window, once its prompt for the folder is shown.
    HWND ConsoleOf(HWND explorerWindow, const std::wstring& folderShown);

    testsupport::ShellWindowsDouble shellList;
    testsupport::ScratchFolder folder;
    std::wstring sub;
    StandInProcess browser;
    CompanionProcess companion;
    HWND window = nullptr;   // the stand-in's first window
    HWND textBox = nullptr;  // the text box of the console docked to it
};

}  // namespace companiontest
