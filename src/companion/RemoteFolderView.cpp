#include "companion/RemoteFolderView.h"

#include <shlwapi.h>

namespace companion {

std::unique_ptr<RemoteFolderView> RemoteFolderView::Of(const Microsoft::WRL::ComPtr<IShellView>& view,
                                                       std::shared_ptr<RemoteConnection> connection, HWND topWindow)
{
    Microsoft::WRL::ComPtr<IFolderView> folderView;
    if (!view || FAILED(connection->Check(view.As(&folderView))))
        return nullptr;
    return std::unique_ptr<RemoteFolderView>(
        new RemoteFolderView(view, std::move(folderView), std::move(connection), topWindow));
}

RemoteFolderView::RemoteFolderView(Microsoft::WRL::ComPtr<IShellView> view,
                                   Microsoft::WRL::ComPtr<IFolderView> folderView,
                                   std::shared_ptr<RemoteConnection> connection, HWND topWindow)
    : view(std::move(view)), folderView(std::move(folderView)), connection(std::move(connection)), topWindow(topWindow)
{
}

std::vector<std::wstring> RemoteFolderView::NamesInViewOrder()
{
    return Names(static_cast<SVGIO>(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER));
}

std::vector<std::wstring> RemoteFolderView::NamesByIndex()
{
    return Names(SVGIO_ALLVIEW);
}

// One call for the whole array; an item without a file-system path keeps its place with an empty name.
std::vector<std::wstring> RemoteFolderView::Names(SVGIO which)
{
    Microsoft::WRL::ComPtr<IShellItemArray> items;
    DWORD count = 0;
    if (connection->IsLost() || FAILED(connection->Check(folderView->Items(which, IID_PPV_ARGS(&items)))) ||
        FAILED(connection->Check(items->GetCount(&count))))
        return {};
    std::vector<std::wstring> names(count);
    for (DWORD index = 0; index < count; ++index) {
        Microsoft::WRL::ComPtr<IShellItem> item;
        wchar_t* path = nullptr;
        if (FAILED(connection->Check(items->GetItemAt(index, &item))) ||
            FAILED(connection->Check(item->GetDisplayName(SIGDN_FILESYSPATH, &path)))) {
            if (connection->IsLost())
                return {};
            continue;
        }
        names[index] = ::PathFindFileNameW(path);
        ::CoTaskMemFree(path);
    }
    return names;
}

// Stops at the first call that fails: a view that refuses one index refuses the rest the same way.
void RemoteFolderView::SelectOnly(const std::vector<int>& ascending)
{
    if (connection->IsLost())
        return;
    if (ascending.empty()) {
        int count = 0;
        if (SUCCEEDED(connection->Check(folderView->ItemCount(SVGIO_ALLVIEW, &count))) && count > 0)
            connection->Check(folderView->SelectItem(0, SVSI_DESELECTOTHERS));
        return;
    }
    if (FAILED(connection->Check(folderView->SelectItem(
            ascending.front(), SVSI_DESELECTOTHERS | SVSI_SELECT | SVSI_FOCUSED | SVSI_ENSUREVISIBLE))))
        return;
    for (size_t at = 1; at < ascending.size(); ++at) {
        if (FAILED(connection->Check(folderView->SelectItem(ascending[at], SVSI_SELECT))))
            return;
    }
}

std::optional<int> RemoteFolderView::Remove(const std::vector<int>& descending)
{
    if (descending.empty())
        return 0;
    return std::nullopt;
}

// The console's window gives way to Explorer's, whose view takes the keyboard focus.
void RemoteFolderView::TakeFocus()
{
    if (connection->IsLost())
        return;
    ::SetForegroundWindow(topWindow);
    connection->Check(view->UIActivate(SVUIA_ACTIVATE_FOCUS));
}

}  // namespace companion
