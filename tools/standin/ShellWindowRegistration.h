#pragma once

#include "support/ComResources.h"

#include <exdisp.h>
#include <wrl/client.h>

#include <string>

namespace standin {

// Sets the empty variant to the folder's identifier list as browsers pass it to the window list
// (OnNavigate, FindWindowSW): a VT_UI1 array. Left VT_EMPTY when the folder has no identifier list.
void SetLocation(support::UniqueVariant& location, const std::wstring& folder);

// One browser's entry in the shell's window list (CLSID_ShellWindows), from its registration to
// its revocation, with the place it shows passed on as Explorer passes it: the identifier list
// of the folder as a VT_UI1 array. Each entry connects to the list afresh, so that a browser
// opened after the list's server ended and came back is found in the new one. Failing calls
// (no list, or its server gone) leave the browser unregistered and change nothing else.
class ShellWindowRegistration {
public:
    ShellWindowRegistration(IDispatch* browser, HWND topWindow, const std::wstring& folder);
    ~ShellWindowRegistration();
    ShellWindowRegistration(const ShellWindowRegistration&) = delete;
    ShellWindowRegistration& operator=(const ShellWindowRegistration&) = delete;

    bool IsRegistered() const { return list && cookie != 0; }
    LONG Cookie() const { return cookie; }
    void Navigated(const std::wstring& folder);
    void Activated(bool active);

private:
    Microsoft::WRL::ComPtr<IShellWindows> list;
    LONG cookie = 0;
};

}  // namespace standin
