#pragma once

#include <optional>
#include <string>
#include <vector>

namespace session {

// The folder view that the console's browser shows, as its host reaches it. Items are named by
// their index in the view's own index space; no item identifier and no window of the view cross
// this seam, so a host in another process can answer through the shell's automation interfaces.
class HostFolderView {
public:
    virtual ~HostFolderView() = default;

    // The file-system name of each item (with its extension, however the view displays it), in
    // the order the view shows them; empty for an item without a file-system path.
    virtual std::vector<std::wstring> NamesInViewOrder() = 0;
    // The same names by index, the index space of SelectOnly and Remove.
    virtual std::vector<std::wstring> NamesByIndex() = 0;
    // Clears the selection, then selects the items of the indexes, given in ascending order; the
    // first of them is focused and scrolled into view.
    virtual void SelectOnly(const std::vector<int>& ascending) = 0;
    // Removes the items of the indexes, given in descending order, from the view only: the files
    // stay, and a refresh brings them back. The number removed, or nothing when the view does not
    // let items be removed.
    virtual std::optional<int> Remove(const std::vector<int>& descending) = 0;
    // Gives the view the keyboard focus, so that the user can act on its selection at once.
    virtual void TakeFocus() = 0;
};

}  // namespace session
