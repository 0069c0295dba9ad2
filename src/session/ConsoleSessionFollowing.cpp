#include "session/ConsoleSession.h"

namespace session {
namespace {

// Put on the command line while the browser shows a place that is no file-system folder.
constexpr wchar_t UnknownPath[] = L"Unknown Path";

}  // namespace

// The console follows the browser: once a folder is shown, the interpreter is moved there.
void ConsoleSession::OnFolderShown()
{
    if (GetHwnd() == nullptr)
        return;
    ShowPendingOutput();
    if (!console.IsRunning()) {
        StartInterpreter();
        navFromConsole = false;
        return;
    }
    if (navFromConsole) {
        navFromConsole = false;
        if (!marksFollowed)
            FollowConsoleNavigation();
        return;
    }
    if (InterpreterReadsInput())
        WaitToChangeFolder();
    else
        ChangeToBrowserFolder(true);
    EndCompletionCycle();
    navFromConsole = false;
}

// With marked prompts the interpreter is free exactly at a prompt with nothing written since.
bool ConsoleSession::InterpreterReadsInput()
{
    if (marksFollowed)
        return !AtMarkedPrompt();
    return interpreterAsksForALine || console.IsBusy();
}

// While the interpreter runs a program, a "cd" would be that program's input: the change waits,
// and once the interpreter is free again it goes to the folder shown then.
void ConsoleSession::WaitToChangeFolder()
{
    std::wstring folder;
    if (ShowsFileSystemFolder(folder))
        TakeFocusIfAllowed();
    folderChangeWaits = true;
    ::SetTimer(GetHwnd(), FollowFolderTimer, FollowInterval, nullptr);
}

// A change that waited moves no focus: the user may have gone elsewhere meanwhile. A line typed
// meanwhile stays where it is: the next prompt arrives in front of it. A place outside the file
// system is named in the transcript, and the interpreter stays where it is.
void ConsoleSession::ChangeToBrowserFolder(bool moveFocus)
{
    folderChangeWaits = false;
    std::wstring folder;
    if (!ShowsFileSystemFolder(folder)) {
        SayAboveInput(UnknownPath);
        return;
    }
    if (!IsInterpreterFolder(folder))
        SendChangeDirectory(folder);
    if (moveFocus)
        TakeFocusIfAllowed();
}

void ConsoleSession::TakeFocusIfAllowed()
{
    bool mayTakeFocus = false;
    {
        const HostCall call(*this);
        mayTakeFocus = frame.MayTakeFocus();
    }
    if (mayTakeFocus)
        ::SetFocus(edit.GetHwnd());
}

void ConsoleSession::FollowWhenIdle()
{
    if (folderChangeWaits && InterpreterReadsInput() && console.IsRunning())
        return;
    ::KillTimer(GetHwnd(), FollowFolderTimer);
    if (folderChangeWaits && console.IsRunning())
        ChangeToBrowserFolder(false);
    folderChangeWaits = false;
}

void ConsoleSession::EndCompletionCycle()
{
    findHandle.Close();
    completeIndex = 0;
}

// The browser window is closing: the console shows what it has and stops; the window stays until
// the host closes the console.
void ConsoleSession::OnBrowserGone()
{
    ShowPendingOutput();
    StopServing();
}

}  // namespace session
