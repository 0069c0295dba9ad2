#include "console/ConsoleProcess.h"

#include "console/ChildPipe.h"
#include "console/ConversionCodePage.h"
#include "console/ExitWatcher.h"
#include "console/InterpreterLaunch.h"
#include "console/PipeTextWriter.h"
#include "console/ReaderThread.h"
#include "console/WorkerJoin.h"
#include "support/AppMessages.h"
#include "support/Diagnostics.h"

#include <new>
#include <utility>

namespace console {
namespace {

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

BOOL ConsoleProcess::Start(HWND window, const wchar_t* directory)
{
    if (IsRunning())
        return FALSE;
    // An interpreter that ended by itself, or the leftovers of a failed start, would otherwise
    // give the new interpreter stale pipes or watchers of the old process.
    Stop();
    try {
        if (StartClean(window, directory))
            return TRUE;
    } catch (const std::bad_alloc&) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    BRIMBLESTONE_TRACE_LAST_ERROR();
    Stop();
    return FALSE;
}

BOOL ConsoleProcess::StartClean(HWND window, const wchar_t* directory)
{
    notifyWindow = window;
    codePage = ResolvedConversionCodePage();
    if (!CreatePipes())
        return FALSE;
    process = LaunchInterpreter(directory, childInputRead.Get(), childOutputWrite.Get(), childErrorWrite.Get());
    // Holding the child's ends would keep the readers from ever seeing the pipes break.
    childInputRead.Reset();
    childOutputWrite.Reset();
    childErrorWrite.Reset();
    if (!process)
        return FALSE;
    stopEvent.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent)
        return FALSE;
    link = std::make_shared<WorkerLink>(notifyWindow, codePage);
    StartWorkers();
    return TRUE;
}

bool ConsoleProcess::CreatePipes()
{
    ChildPipe input = CreateChildPipe(ChildEnd::Reads);
    ChildPipe output = CreateChildPipe(ChildEnd::Writes);
    ChildPipe error = CreateChildPipe(ChildEnd::Writes);
    childInputRead = std::move(input.childEnd);
    inputWrite = std::move(input.parentEnd);
    childOutputWrite = std::move(output.childEnd);
    outputRead = std::move(output.parentEnd);
    childErrorWrite = std::move(error.childEnd);
    errorRead = std::move(error.parentEnd);
    return inputWrite && outputRead && errorRead;
}

void ConsoleProcess::StartWorkers()
{
    outputReader = StartReaderThread(link, std::move(outputRead), WM_APP_STDOUT);
    errorReader = StartReaderThread(link, std::move(errorRead), WM_APP_STDERR);
    exitWatcher = StartExitWatcher(link, stopEvent.Get(), process.Get());
}

BOOL ConsoleProcess::Stop()
{
    if (link) {
        link->stopping = true;
        link->running = false;
    }
    if (stopEvent)
        ::SetEvent(stopEvent.Get());
    TerminateIfRunning();
    CloseAllPipeEnds();
    JoinWorkers();
    process.Reset();
    stopEvent.Reset();
    link.reset();
    notifyWindow = nullptr;
    return TRUE;
}

void ConsoleProcess::TerminateIfRunning()
{
    if (!IsStillActive(process.Get()))
        return;
    ::TerminateProcess(process.Get(), 1);
    ::WaitForSingleObject(process.Get(), INFINITE);
}

// The readers own the read ends they were given; only ends not yet handed over are held here.
void ConsoleProcess::CloseAllPipeEnds()
{
    childInputRead.Reset();
    childOutputWrite.Reset();
    childErrorWrite.Reset();
    inputWrite.Reset();
    outputRead.Reset();
    errorRead.Reset();
}

void ConsoleProcess::JoinWorkers()
{
    JoinWorker(outputReader);
    JoinWorker(errorReader);
    JoinWorker(exitWatcher);
}

BOOL ConsoleProcess::IsRunning() const
{
    return IsStillActive(process.Get());
}

BOOL ConsoleProcess::WriteLine(const wchar_t* text)
{
    return WriteTextToPipe(inputWrite.Get(), text, codePage);
}

}  // namespace console
