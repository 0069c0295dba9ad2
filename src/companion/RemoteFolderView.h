#pragma once

#include "companion/RemoteConnection.h"
#include "session/HostFolderView.h"

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>

namespace companion {

// The folder view of an Explorer tab, reached from another process: item identifiers do not cross
// processes, so names come from one IShellItemArray per read and items are named by index. Every
// call is checked against the tab's connection.
class RemoteFolderView final : public session::HostFolderView {
public:
    // The view's folder view; null when the shell view is none (a page still being built).
    static std::unique_ptr<RemoteFolderView> Of(const Microsoft::WRL::ComPtr<IShellView>& view,
                                                std::shared_ptr<RemoteConnection> connection, HWND topWindow);

    std::vector<std::wstring> NamesInViewOrder() override;
    std::vector<std::wstring> NamesByIndex() override;
    void SelectOnly(const std::vector<int>& ascending) override;
    // Explorer offers no way to take given items out of its view from another process: its
    // IShellFolderView works with item identifiers, which do not cross, and
    // IShellFolderViewDual3::FilterView only narrows the view to a search text. Nothing is removed.
    std::optional<int> Remove(const std::vector<int>& descending) override;
    void TakeFocus() override;

private:
    RemoteFolderView(Microsoft::WRL::ComPtr<IShellView> view, Microsoft::WRL::ComPtr<IFolderView> folderView,
                     std::shared_ptr<RemoteConnection> connection, HWND topWindow);

    std::vector<std::wstring> Names(SVGIO which);

    Microsoft::WRL::ComPtr<IShellView> view;
    Microsoft::WRL::ComPtr<IFolderView> folderView;
    std::shared_ptr<RemoteConnection> connection;
    HWND topWindow;
};

}  // namespace companion
