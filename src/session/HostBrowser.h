#pragma once

#include "session/HostFolderView.h"

#include <memory>
#include <optional>
#include <string>

namespace session {

// The browser window that the console follows, as its host reaches it.
class HostBrowser {
public:
    virtual ~HostBrowser() = default;

    // The file-system folder the browser shows; nothing when it shows another place (a web page,
    // a virtual folder) or cannot say.
    virtual std::optional<std::wstring> Folder() = 0;
    // Asks the browser to show the folder; false when the request could not be made at all.
    virtual bool Navigate(const std::wstring& folder) = 0;
    // Reads the shown folder again, which brings back every item a filter hid.
    virtual void Refresh() = 0;
    // The view of the active tab; nothing when the browser shows no folder view.
    virtual std::unique_ptr<HostFolderView> ActiveView() = 0;
    // The interpreter ended by itself (the user typed "exit"); what follows is the host's choice.
    virtual void InterpreterEnded() = 0;
};

}  // namespace session
