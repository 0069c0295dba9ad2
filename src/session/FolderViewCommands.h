#pragma once

#include "session/HostBrowser.h"
#include "session/HostFolderView.h"

#include <optional>
#include <string>

namespace session {

// The "sel" command: selects the items whose names match the pattern list, after clearing the
// selection; when there are any, the view takes the keyboard focus so that the user can act on them
// at once. Returns the number selected.
int RunSelectCommand(HostFolderView& view, const wchar_t* patterns);

// The "filt" command: hides the named items that match no pattern, after clearing the selection.
// When nothing was hidden the browser is refreshed, which brings back every item that earlier
// filters hid. Returns the number hidden, or nothing when the view does not let items be hidden.
std::optional<int> RunFilterCommand(HostFolderView& view, HostBrowser& browser, const wchar_t* patterns);

// What the console says when a view keeps its items against "filt".
std::wstring FilterRefusedMessage();

}  // namespace session
