#include "session/FolderViewCommands.h"

#include "shellview/ViewCommands.h"

#include <vector>

namespace session {

int RunSelectCommand(HostFolderView& view, const wchar_t* patterns)
{
    const std::vector<int> selected = shellview::MatchingIndexes(view.NamesByIndex(), patterns);
    view.SelectOnly(selected);
    if (!selected.empty())
        view.TakeFocus();
    return static_cast<int>(selected.size());
}

std::optional<int> RunFilterCommand(HostFolderView& view, HostBrowser& browser, const wchar_t* patterns)
{
    view.SelectOnly({});
    const std::optional<int> hidden = view.Remove(shellview::IndexesToHide(view.NamesByIndex(), patterns));
    if (hidden == 0)
        browser.Refresh();
    return hidden;
}

std::wstring FilterRefusedMessage()
{
    return L"filt: this folder view does not let items be removed; nothing was hidden.";
}

}  // namespace session
