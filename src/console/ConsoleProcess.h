#pragma once

#include "console/CodePageFollowing.h"
#include "console/ConsoleCodePageProbe.h"
#include "console/ConsoleMessages.h"
#include "console/ConsolePrograms.h"
#include "console/InputWriter.h"
#include "console/MarkedOutput.h"
#include "console/OutputQueue.h"
#include "console/PromptMarks.h"
#include "console/WorkerLink.h"
#include "support/UniqueHandle.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace console {

// The hidden command interpreter behind one console: its process, its two pipes, the stop event and
// the worker threads that hand its output and its end to the notify window. The output waits in a
// bounded queue; OutputWaitingMessage is posted when output is queued and the window has not been
// told yet, and the window takes it with TakeOutput when it has room to show it.
// InterpreterEndedMessage is sent when the interpreter ended by itself, once the reader has queued
// everything the interpreter wrote. Standard output and standard error share one pipe, so text
// arrives in the order the interpreter and its programs wrote it.
//
// The interpreter's prompt carries private marks (PromptMarks): the output taken is the text without
// them and, at their places in it, the prompts the interpreter reached, each with the folder it
// stands in. Once the user replaces the prompt ("prompt", "set PROMPT=") or turns echo off, no
// more prompts are told.
//
// The console also follows the code pages in which the interpreter reads and writes the pipes: a
// start or a line sent may change them; they are asked of the console, through a helper of
// `helperLibrary`, once the interpreter has been idle with no output for a moment, and at the
// latest when the next line is converted. All operations belong to the thread that owns the
// notify window.
class ConsoleProcess {
public:
    ConsoleProcess() = default;
    ConsoleProcess(const ConsoleProcess&) = delete;
    ConsoleProcess& operator=(const ConsoleProcess&) = delete;
    ~ConsoleProcess();

    // Starts the interpreter in `directory`. FALSE, with nothing changed, when one is still
    // running. FALSE when it could not be started, and then the last error says why:
    // ERROR_FILE_NOT_FOUND when neither the system folder nor ComSpec gives an interpreter (see
    // InterpreterPath), else that of the step that failed (ERROR_DIRECTORY for a folder that does
    // not exist). An interpreter that has ended by itself, or a failed start, is released first.
    // `helperLibrary` exports the helpers' entry points; without it the console sends no Ctrl+C,
    // cannot ask which programs run in its console and keeps the code page it started with.
    BOOL Start(HWND notifyWindow, const wchar_t* directory, HMODULE helperLibrary);
    // Terminates a running interpreter (exit code 1) and the console programs attached to its
    // console, as closing a console window ends them, and releases everything; always TRUE. Which
    // programs are attached is asked of the console through a helper of the helper library, within
    // a few seconds; programs the interpreter started in a console of their own ("start") or with
    // windows stay; an interpreter that has ended by itself leaves its console to the programs
    // still attached to it, and these are asked. Where the console cannot be asked (no helper
    // library, no answer in time), every console program the interpreter started is ended.
    BOOL Stop();
    BOOL IsRunning() const;
    // Whether the interpreter runs a program now rather than waiting for a command of its own.
    BOOL IsBusy() const;
    // Sends the interpreter's console a Ctrl+C (or Ctrl+Break), from a short-lived helper process
    // so this process never attaches to a console: rundll32 on the InterruptConsole entry point of
    // the helper library. FALSE when nothing was sent: the helper could not be started (the library
    // has no such entry), or the interpreter would end with its program (Wine's).
    BOOL Interrupt(bool breakKey);
    // Ends the console programs attached to the interpreter's console, asked of the console as Stop
    // asks it; the interpreter and programs with windows stay. Where the console cannot be asked, the
    // console programs the interpreter runs, and those below them, are ended. Answers the names of
    // the programs ended.
    std::vector<std::wstring> EndRunningPrograms();
    // Sends `text`, which already ends in "\r\n", as one write in the interpreter's code page. The
    // text is converted at once and written behind the lines before it, without waiting for the
    // interpreter to read it. FALSE when there is no interpreter to write to or no text, and, with
    // the last error ERROR_NO_UNICODE_TRANSLATION and nothing sent, when that code page cannot
    // carry the text exactly. A line that may change the code page has it asked again.
    BOOL WriteLine(const wchar_t* text);
    // Whether a line written has not been read yet: it waits to be written (one line is in the pipe
    // at a time) or lies in the pipe.
    bool InputWaiting();
    // Swaps all output queued since the last take into `taken`, which is expected empty: the text to
    // show and the prompts reached in it, in order; takes follow each other in the order of the
    // output. The next output is announced with OutputWaitingMessage again. False when nothing was
    // queued.
    bool TakeOutput(MarkedOutput& taken);
    // The same, for a window that follows no prompts: the text alone.
    bool TakeOutput(std::wstring& taken);
    // Whether a marked prompt of this interpreter has been taken: only then do prompts tell where
    // the interpreter is and when it waits for a line.
    bool MarkedPromptSeen() const noexcept { return markedPromptSeen; }

    // The code page in which the interpreter reads its input, as last learnt.
    UINT CodePage() const noexcept { return codePage; }
    // The code page the next line must be converted in: learnt anew first, waiting for the helper's
    // answer, when a line sent since the last answer may have changed it.
    UINT CodePageForNextLine();
    // One check of the code-page timer: the question goes out when the interpreter waits for a
    // command and has been quiet since the last check; the timer stops once the answer is in.
    void OnCodePageTimer(bool interpreterWaitsForCommand);
    // Learns the console's code pages anew, as a "chcp" may have changed them, and waits for the
    // answer: that of the question already asked, if one is. FALSE, with nothing changed, when the
    // helper gave no answer.
    BOOL FollowCodePage();
    // Asks the console's code pages without waiting; FALSE when the helper could not be started.
    BOOL AskCodePage();
    // TRUE while the answer to the question asked is still to come; once it has come, the code
    // pages it gives are followed.
    BOOL CodePageAnswerPending();

private:
    BOOL StartClean(HWND window, const wchar_t* directory);
    bool CreatePipes();
    static support::UniqueHandle DuplicateOwnHandle(HANDLE handle);
    void StartWorkers(const PromptMarks& marks);
    bool HoldAttachedPrograms(std::vector<HeldProgram>& attached) noexcept;
    void TerminateIfRunning();
    void CloseInput();
    void CloseOutput();
    void CloseAllPipeEnds();
    void JoinWorkers();
    BOOL TakeCodePageAnswer(DWORD wait);
    void CodePageMayHaveChanged();

    support::UniqueHandle childInputRead;
    support::UniqueHandle inputRead;        // sees what the interpreter has not read yet
    support::UniqueHandle writerInputRead;  // the same for the writer, until it starts
    support::UniqueHandle childOutputWrite;
    support::UniqueHandle inputWrite;
    support::UniqueHandle outputRead;
    support::UniqueHandle stopEvent;
    support::UniqueHandle job;
    support::UniqueHandle process;
    std::shared_ptr<InputQueue> input;
    std::shared_ptr<OutputQueue> output;
    support::UniqueHandle inputWriter;
    support::UniqueHandle exitWatcher;
    support::UniqueHandle outputReader;
    HWND notifyWindow = nullptr;
    HMODULE helperLibrary = nullptr;
    UINT codePage = CP_OEMCP;
    bool markedPromptSeen = false;
    std::shared_ptr<WorkerLink> link;
    CodePageQuestion codePageQuestion;
    CodePageFollowing codePageFollowing;
};

}  // namespace console
