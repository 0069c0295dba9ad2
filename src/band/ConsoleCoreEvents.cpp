#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

#include <exdispid.h>

namespace band {

// The browser's events reach the console as reports, handled once the browser's call has returned.
STDMETHODIMP CConsoleCore::Invoke(DISPID id, REFIID iid, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*)
try {
    if (iid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (params == nullptr)
        return E_INVALIDARG;
    if (id == DISPID_ONQUIT) {
        // The browser window is closing: every tie to it is cut; the object itself goes with its
        // last reference.
        console.BrowserGone();
        StopServing();
    } else if (id == DISPID_DOCUMENTCOMPLETE) {
        console.FolderShown();
    }
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

// The browser's events and the drop target stop; the console stops with them.
void CConsoleCore::StopServing()
{
    DisconnectBrowserEvents();
    console.StopServing();
    if (dropRegistered) {
        ::RevokeDragDrop(console.Window());
        dropRegistered = false;
    }
}

}  // namespace band
