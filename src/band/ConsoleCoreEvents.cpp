#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

#include <exdispid.h>

#include "band/ChangeDirectoryCommand.h"

namespace band {

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
    std::wstring folder;
    if (GetFolderPath(folder, FALSE)) {
        const std::wstring command = ChangeDirectoryCommand(folder);
        edit.ClearInput();
        console.WriteLine(command.c_str());
        ::SetFocus(edit.GetHwnd());
    } else {
        ReplaceInput(L"Unknown Path");
    }
    EndCompletionCycle();
    navFromConsole = FALSE;
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
