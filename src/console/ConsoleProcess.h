#pragma once

#include "console/ConsoleCodePageProbe.h"
#include "console/WorkerLink.h"
#include "support/UniqueHandle.h"

#include <windows.h>

#include <memory>
#include <string>

namespace console {

// The hidden command interpreter behind one band: its process, its three pipes, the stop event and
// the three worker threads that hand its output and its end to the notify window:
// WM_APP_STDOUT and WM_APP_STDERR (wParam: the chunk's zero-terminated wide text, valid during the
// call) and WM_APP_EXITED when the interpreter ended by itself. All operations belong to the thread
// that owns the notify window.
class ConsoleProcess {
public:
    ConsoleProcess() = default;
    ConsoleProcess(const ConsoleProcess&) = delete;
    ConsoleProcess& operator=(const ConsoleProcess&) = delete;
    ~ConsoleProcess();

    // Starts the interpreter in `directory`. FALSE when one is still running or it could not be
    // started. An interpreter that has ended by itself, or a failed start, is released first.
    BOOL Start(HWND notifyWindow, const wchar_t* directory);
    // Terminates a running interpreter (exit code 1) and releases everything; always TRUE.
    BOOL Stop();
    BOOL IsRunning() const;
    // Sends `text`, which already ends in "\r\n", as one write in the interpreter's code page.
    // FALSE, with the last error ERROR_NO_UNICODE_TRANSLATION and nothing sent, when that code
    // page cannot carry the text exactly.
    BOOL WriteLine(const wchar_t* text);
    // The code page in which the interpreter reads its input.
    UINT CodePage() const noexcept { return codePage; }
    // Learns the console's code pages anew, as a "chcp" may have changed them, from a helper run
    // from `library`; FALSE, with nothing changed, when the helper gave no answer.
    BOOL FollowCodePage(const std::wstring& library = OwnLibraryPath());

private:
    BOOL StartClean(HWND window, const wchar_t* directory);
    bool CreatePipes();
    void StartWorkers();
    void TerminateIfRunning();
    void CloseAllPipeEnds();
    void JoinWorkers();

    support::UniqueHandle childInputRead;
    support::UniqueHandle childOutputWrite;
    support::UniqueHandle childErrorWrite;
    support::UniqueHandle inputWrite;
    support::UniqueHandle outputRead;
    support::UniqueHandle errorRead;
    support::UniqueHandle stopEvent;
    support::UniqueHandle process;
    support::UniqueHandle exitWatcher;
    support::UniqueHandle outputReader;
    support::UniqueHandle errorReader;
    HWND notifyWindow = nullptr;
    UINT codePage = CP_OEMCP;
    std::shared_ptr<WorkerLink> link;
};

}  // namespace console
