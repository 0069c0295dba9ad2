#pragma once

#include "console/InputWriter.h"
#include "console/WorkerLink.h"
#include "support/UniqueHandle.h"

#include <windows.h>

#include <memory>

namespace console {

// The hidden command interpreter behind one band: its process, its two pipes, the stop event and
// the worker threads that hand its output and its end to the notify window: WM_APP_STDOUT (wParam:
// the chunk's zero-terminated wide text, valid during the call) and WM_APP_EXITED when the
// interpreter ended by itself. Standard output and standard error share one pipe, so text arrives
// in the order the interpreter and its programs wrote it. All operations belong to the thread
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
    // Terminates a running interpreter (exit code 1), and the console programs it runs, and
    // releases everything; always TRUE.
    BOOL Stop();
    BOOL IsRunning() const;
    // Whether the interpreter runs a program now rather than waiting for a command of its own.
    BOOL IsBusy() const;
    // Sends the interpreter's console a Ctrl+C (or Ctrl+Break), from a short-lived helper process
    // so this process never attaches to a console: rundll32 on the InterruptConsole entry point of
    // `helperLibrary`. FALSE when nothing was sent: the helper could not be started (the library
    // has no such entry), or the interpreter would end with its program (Wine's).
    BOOL Interrupt(HMODULE helperLibrary, bool breakKey);
    // Ends the programs the interpreter runs, with everything they started; the interpreter stays.
    void EndRunningPrograms();
    // Sends `text`, which already ends in "\r\n", as one write in the conversion code page. The
    // text is converted at once and written behind the lines before it, without waiting for the
    // interpreter to read it. FALSE when there is no interpreter to write to or no text.
    BOOL WriteLine(const wchar_t* text);

private:
    BOOL StartClean(HWND window, const wchar_t* directory);
    bool CreatePipes();
    void StartWorkers();
    void TerminateIfRunning();
    void CloseInput();
    void CloseAllPipeEnds();
    void JoinWorkers();

    support::UniqueHandle childInputRead;
    support::UniqueHandle childOutputWrite;
    support::UniqueHandle inputWrite;
    support::UniqueHandle outputRead;
    support::UniqueHandle stopEvent;
    support::UniqueHandle job;
    support::UniqueHandle process;
    std::shared_ptr<InputQueue> input;
    support::UniqueHandle inputWriter;
    support::UniqueHandle exitWatcher;
    support::UniqueHandle outputReader;
    HWND notifyWindow = nullptr;
    UINT codePage = CP_ACP;
    std::shared_ptr<WorkerLink> link;
};

}  // namespace console
