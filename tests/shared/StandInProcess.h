#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>
#include <exdisp.h>

#include <string>
#include <vector>

namespace testsupport {

// The stand-in browser as a process of its own (StandInBrowser.exe --shell-window), the way
// Explorer runs beside the programs that follow it: each of its "CabinetWClass" windows holds
// "ShellTabWindowClass" tabs, each tab registered in the shell's window list. Driven from here
// with window messages; ended with the object when still running.
class StandInProcess {
public:
    StandInProcess() = default;
    ~StandInProcess();
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    // Starts it at the folder with further arguments ("--items-view", "--slow-view-ms", "N",
    // ...) and waits, running messages, until its first window is shown: its first tab has then
    // been registered in the list (when there is one).
    bool Start(const std::wstring& folder, const std::vector<std::wstring>& arguments = {});

    DWORD ProcessId() const { return processId; }
    HANDLE Process() const { return process.Get(); }
    bool IsRunning() const;
    // Its top windows, in no particular order.
    std::vector<HWND> Windows() const;
    // A standin::TabCommand for the window (new window, new tab, close tab, tab n), sent as the
    // window's menu sends it; returns once the window has carried it out, running this thread's
    // messages meanwhile (the command may call this thread's event sinks). False when the
    // window did not answer in time.
    bool Command(HWND window, WORD command) const;
    // Ends it as a crash would and waits until it is gone.
    bool Kill();
    // Waits, running messages, until it has ended by itself.
    bool WaitForExit() const;

    // The tab windows of a top window, top-most (the active tab) first.
    static std::vector<HWND> TabWindows(HWND window);

private:
    support::UniqueHandle process;
    DWORD processId = 0;
};

// The stand-in's own record of what a tab's view shows, read from another process through its
// browser's GetProperty ("StandIn.Items", "StandIn.SelectedItems", "StandIn.FocusedItems"): the
// names in view order; {"(failed)"} when it cannot be read.
std::vector<std::wstring> StandInRecord(IWebBrowser2* browser, const wchar_t* property);
// Navigate2 across processes: the optional arguments as VT_EMPTY variants, never null pointers.
HRESULT NavigateAcross(IWebBrowser2* browser, const std::wstring& target);

}  // namespace testsupport
