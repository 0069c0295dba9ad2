#include "console/ConsoleProcess.h"

#include "console/ChildPipe.h"
#include "console/ConsolePrograms.h"
#include "console/ConsoleInterruptHelper.h"
#include "console/ConsoleProcessList.h"
#include "console/ConversionCodePage.h"
#include "console/ExitWatcher.h"
#include "console/InterpreterLaunch.h"
#include "console/PipeTextWriter.h"
#include "console/ReaderThread.h"
#include "console/WorkerJoin.h"
#include "support/Diagnostics.h"

#include <new>
#include <string>
#include <utility>

namespace console {
namespace {

// How long the console may take to say which programs are attached to it: the helper that asks it
// starts, attaches and answers in well under a second.
constexpr DWORD ConsoleAnswerBound = 3000;

bool IsStillActive(HANDLE process)
{
    DWORD exitCode = 0;
    return process && ::GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
}

}  // namespace

ConsoleProcess::~ConsoleProcess()
{
    Stop();
}

BOOL ConsoleProcess::Start(HWND window, const wchar_t* directory, HMODULE helper)
{
    if (IsRunning())
        return FALSE;
    // An interpreter that ended by itself, or the leftovers of a failed start, would otherwise
    // give the new interpreter stale pipes or watchers of the old process.
    Stop();
    helperLibrary = helper;
    try {
        if (StartClean(window, directory)) {
            // The console's own settings may give it another code page than the OEM one it starts from.
            CodePageMayHaveChanged();
            return TRUE;
        }
    } catch (const std::bad_alloc&) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    BRIMBLESTONE_TRACE_LAST_ERROR();
    // The caller learns why from the last error, which releasing the leftovers must not replace.
    const DWORD error = ::GetLastError();
    Stop();
    ::SetLastError(error);
    return FALSE;
}

BOOL ConsoleProcess::StartClean(HWND window, const wchar_t* directory)
{
    notifyWindow = window;
    codePage = InitialConsoleCodePage();
    if (!CreatePipes())
        return FALSE;
    job.Reset(::CreateJobObjectW(nullptr, nullptr));
    const PromptMarks marks = PromptMarks::Drawn();
    process = LaunchInterpreter(directory, marks.PromptCommand(), childInputRead.Get(), childOutputWrite.Get(),
                                job.Get());
    // The input's far end is kept only to see what is still unread there, once by the writer and once
    // here; holding the output's far end would keep the reader from ever seeing its pipe break.
    writerInputRead = DuplicateOwnHandle(childInputRead.Get());
    inputRead = DuplicateOwnHandle(childInputRead.Get());
    childInputRead.Reset();
    childOutputWrite.Reset();
    if (!process)
        return FALSE;
    stopEvent.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent)
        return FALSE;
    input = std::make_shared<InputQueue>();
    output = std::make_shared<OutputQueue>();
    if (!input->IsUsable() || !output->IsUsable())
        return FALSE;
    link = std::make_shared<WorkerLink>(notifyWindow, codePage);
    StartWorkers(marks);
    return TRUE;
}

bool ConsoleProcess::CreatePipes()
{
    ChildPipe input = CreateChildPipe(ChildEnd::Reads, InputPipeSize);
    ChildPipe output = CreateChildPipe(ChildEnd::Writes, OutputPipeSize);
    childInputRead = std::move(input.childEnd);
    inputWrite = std::move(input.parentEnd);
    childOutputWrite = std::move(output.childEnd);
    outputRead = std::move(output.parentEnd);
    return inputWrite && outputRead;
}

// A duplicate, never inherited, of a handle of this process; empty when it could not be made.
support::UniqueHandle ConsoleProcess::DuplicateOwnHandle(HANDLE handle)
{
    HANDLE duplicate = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &duplicate, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        return support::UniqueHandle();
    return support::UniqueHandle(duplicate);
}

bool ConsoleProcess::InputWaiting()
{
    return input && (input->IsWaiting() || UnreadBytes(inputRead.Get()) > 0);
}

void ConsoleProcess::StartWorkers(const PromptMarks& marks)
{
    inputWriter = StartInputWriter(input, std::move(inputWrite), std::move(writerInputRead));
    outputReader = StartReaderThread(link, output, std::move(outputRead), marks);
    exitWatcher = StartExitWatcher(link, stopEvent.Get(), process.Get(), outputReader.Get());
}

BOOL ConsoleProcess::Stop()
{
    if (link)
        link->stopping = true;
    if (stopEvent)
        ::SetEvent(stopEvent.Get());
    // A reader waiting for the window to take its output would otherwise hold up the join.
    CloseOutput();
    // The input closes only after the interpreter is gone: at the end of its input it would exit by itself.
    // Its console is asked while the interpreter is still attached to it.
    const DWORD interpreterId = process ? ::GetProcessId(process.Get()) : 0;
    std::vector<HeldProgram> attached;
    const bool asked = HoldAttachedPrograms(attached);
    TerminateIfRunning();
    if (asked)
        EndPrograms(attached);
    else
        EndConsolePrograms(job.Get(), interpreterId);
    CloseInput();
    CloseAllPipeEnds();
    JoinWorkers();
    process.Reset();
    job.Reset();
    stopEvent.Reset();
    codePageQuestion.Forget();
    codePageFollowing = CodePageFollowing();
    if (notifyWindow != nullptr)
        ::KillTimer(notifyWindow, CodePageTimer);
    link.reset();
    notifyWindow = nullptr;
    markedPromptSeen = false;
    return TRUE;
}

void ConsoleProcess::TerminateIfRunning()
{
    if (!IsStillActive(process.Get()))
        return;
    ::TerminateProcess(process.Get(), 1);
    ::WaitForSingleObject(process.Get(), INFINITE);
}

void ConsoleProcess::CloseInput()
{
    if (input)
        input->Close();
    input.reset();
}

void ConsoleProcess::CloseOutput()
{
    if (output)
        output->Close();
    output.reset();
}

// The workers own the pipe ends they were given; only ends not yet handed over are held here.
void ConsoleProcess::CloseAllPipeEnds()
{
    childInputRead.Reset();
    childOutputWrite.Reset();
    inputWrite.Reset();
    outputRead.Reset();
    inputRead.Reset();
    writerInputRead.Reset();
}

void ConsoleProcess::JoinWorkers()
{
    JoinWorker(inputWriter);
    JoinWorker(outputReader);
    JoinWorker(exitWatcher);
}

BOOL ConsoleProcess::IsRunning() const
{
    return IsStillActive(process.Get());
}

bool ConsoleProcess::TakeOutput(MarkedOutput& taken)
{
    if (!output || !output->Take(taken))
        return false;
    codePageFollowing.OutputArrived();
    markedPromptSeen = markedPromptSeen || !taken.prompts.empty();
    return true;
}

bool ConsoleProcess::TakeOutput(std::wstring& taken)
{
    MarkedOutput whole;
    if (!TakeOutput(whole))
        return false;
    taken.swap(whole.text);
    return true;
}

void ConsoleProcess::CodePageMayHaveChanged()
{
    codePageFollowing.MayHaveChanged();
    ::SetTimer(notifyWindow, CodePageTimer, CodePageFollowing::CheckInterval, nullptr);
}

UINT ConsoleProcess::CodePageForNextLine()
{
    const CodePageFollowing::BeforeConverting before = codePageFollowing.KnowNow();
    if (before == CodePageFollowing::BeforeConverting::AskAndAwait)
        codePageQuestion.Forget();
    if (before != CodePageFollowing::BeforeConverting::Known)
        FollowCodePage();
    return codePage;
}

// The code page is learnt while the interpreter waits for a command, so that the next line
// converted need not wait for the helper that asks it.
void ConsoleProcess::OnCodePageTimer(bool interpreterWaitsForCommand)
{
    if (codePageFollowing.IsAsked() && !CodePageAnswerPending())
        codePageFollowing.Answered();
    if (codePageFollowing.IsDueToAsk() && interpreterWaitsForCommand)
        codePageFollowing.Asked(AskCodePage() != FALSE);
    if (!codePageFollowing.IsWatching())
        ::KillTimer(notifyWindow, CodePageTimer);
}

BOOL ConsoleProcess::FollowCodePage()
{
    if (!codePageQuestion.IsAsked() && !AskCodePage())
        return FALSE;
    return TakeCodePageAnswer(INFINITE);
}

BOOL ConsoleProcess::AskCodePage()
{
    const std::wstring library = CodePageHelperPath(helperLibrary);
    if (!link || !IsRunning() || library.empty())
        return FALSE;
    return codePageQuestion.Ask(::GetProcessId(process.Get()), library) ? TRUE : FALSE;
}

BOOL ConsoleProcess::CodePageAnswerPending()
{
    if (codePageQuestion.IsAsked())
        TakeCodePageAnswer(0);
    return codePageQuestion.IsAsked() ? TRUE : FALSE;
}

// TRUE when an answer came within `wait` milliseconds (the question's own bound holds) and is followed.
BOOL ConsoleProcess::TakeCodePageAnswer(DWORD wait)
{
    ConsoleCodePages pages;
    if (!codePageQuestion.Collect(wait, pages) || pages.input == 0 || !link)
        return FALSE;
    codePage = pages.input;
    link->codePage = pages.output;
    return TRUE;
}

BOOL ConsoleProcess::IsBusy() const
{
    return IsRunning() && HasRunningProgram(process.Get());
}

BOOL ConsoleProcess::Interrupt(bool breakKey)
{
    if (!IsRunning() || !InterpreterSurvivesInterrupt())
        return FALSE;
    return StartInterruptHelper(helperLibrary, ::GetProcessId(process.Get()), breakKey) ? TRUE : FALSE;
}

std::vector<std::wstring> ConsoleProcess::EndRunningPrograms()
{
    if (!IsRunning())
        return {};
    std::vector<HeldProgram> attached;
    if (!HoldAttachedPrograms(attached))
        return console::EndRunningPrograms(process.Get());
    EndPrograms(attached);
    return NamesOfEnded(attached);
}

// The console is asked through the interpreter attached to it. Once the interpreter has ended by
// itself, the console lives on as long as programs are attached to it: it is asked through the
// console programs the interpreter started, and is the one of their consoles that is not shown.
// False when the console could not be asked, memory having run out included: Stop goes on
// without the answer.
bool ConsoleProcess::HoldAttachedPrograms(std::vector<HeldProgram>& attached) noexcept
{
    if (!process)
        return false;
    const DWORD interpreterId = ::GetProcessId(process.Get());
    try {
        const std::vector<DWORD> attachedTo =
            IsRunning() ? std::vector<DWORD>{interpreterId} : ConsoleProgramsIn(job.Get(), interpreterId);
        if (attachedTo.empty())
            return true;
        const std::optional<std::vector<DWORD>> listed =
            ListConsoleProcesses(helperLibrary, attachedTo, ConsoleAnswerBound);
        if (!listed)
            return false;
        attached = HoldConsolePrograms(*listed, interpreterId);
        return true;
    } catch (const std::bad_alloc&) {
        attached.clear();
        return false;
    }
}

BOOL ConsoleProcess::WriteLine(const wchar_t* text)
{
    // The input's far end is held here too, so a write would not fail once the interpreter is gone.
    std::string bytes;
    if (!input || !IsRunning() || !ConvertTextForPipe(text, codePage, bytes))
        return FALSE;
    try {
        if (!input->Push(std::move(bytes)))
            return FALSE;
        std::wstring line(text);
        while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r'))
            line.pop_back();
        if (MayChangeCodePage(line))
            CodePageMayHaveChanged();
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

}  // namespace console
