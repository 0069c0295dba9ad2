#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

#include <exdispid.h>

#include "band/ChangeDirectoryCommand.h"

namespace band {
namespace {

// Typed on the command line while the browser shows a place that is no file-system folder.
constexpr wchar_t UnknownPath[] = L"Unknown Path";

// How often a waiting folder change looks whether the interpreter is free.
constexpr UINT FollowFolderInterval = 250;

}  // namespace

STDMETHODIMP CConsoleCore::Invoke(DISPID id, REFIID iid, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
try {
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (params == nullptr)
        return E_INVALIDARG;
    if (id == DISPID_ONQUIT)
        OnQuit();
    else if (id == DISPID_DOCUMENTCOMPLETE)
        OnDocumentComplete();
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

// The console follows the browser: once a folder is shown, the interpreter is moved there.
void CConsoleCore::OnDocumentComplete()
{
    ShowPendingOutput();
    if (!console.IsRunning()) {
        StartInterpreterInCurrentFolder();
        navFromConsole = FALSE;
        return;
    }
    if (navFromConsole) {
        navFromConsole = FALSE;
        FollowConsoleNavigation();
        return;
    }
    if (InterpreterReadsInput())
        WaitToChangeFolder();
    else
        ChangeToBrowserFolder(true);
    EndCompletionCycle();
    navFromConsole = FALSE;
}

bool CConsoleCore::InterpreterReadsInput() const
{
    return interpreterAsksForALine || console.IsBusy();
}

// While the interpreter runs a program, a "cd" would be that program's input: the change waits,
// and once the interpreter is free again it goes to the folder shown then.
void CConsoleCore::WaitToChangeFolder()
{
    std::wstring folder;
    if (GetFolderPath(folder, FALSE))
        ::SetFocus(edit.GetHwnd());
    folderChangeWaits = true;
    ::SetTimer(GetHwnd(), FollowFolderTimer, FollowFolderInterval, nullptr);
}

// A change that waited moves no focus: the user may have gone elsewhere meanwhile.
void CConsoleCore::ChangeToBrowserFolder(bool moveFocus)
{
    folderChangeWaits = false;
    std::wstring folder;
    if (GetFolderPath(folder, FALSE)) {
        // A line typed meanwhile stays where it is: the next prompt arrives in front of it. The
        // band's own word for a place outside the file system goes.
        std::wstring typed;
        edit.GetInputLine(typed);
        if (typed == UnknownPath)
            edit.ClearInput();
        SendChangeDirectory(folder);
        if (moveFocus)
            ::SetFocus(edit.GetHwnd());
    } else {
        ReplaceInput(UnknownPath);
    }
}

void CConsoleCore::FollowWhenIdle()
{
    if (folderChangeWaits && InterpreterReadsInput())
        return;
    ::KillTimer(GetHwnd(), FollowFolderTimer);
    if (folderChangeWaits && console.IsRunning())
        ChangeToBrowserFolder(false);
    folderChangeWaits = false;
}

void CConsoleCore::EndCompletionCycle()
{
    findHandle.Close();
    completeIndex = 0;
}

// The browser window is closing: every tie to it is cut; the object itself goes with its last reference.
void CConsoleCore::OnQuit()
{
    ShowPendingOutput();
    StopServing();
}

// The interpreter, the browser's events, the drop target and the key table stop; the windows stay.
void CConsoleCore::StopServing()
{
    DisconnectBrowserEvents();
    accelTable.Reset();
    if (console.IsRunning())
        console.Stop();
    EndCompletionCycle();
    if (dropRegistered) {
        ::RevokeDragDrop(GetHwnd());
        dropRegistered = false;
    }
}

}  // namespace band
