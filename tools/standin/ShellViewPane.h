#pragma once

#include "FolderView.h"
#include "ItemsView.h"
#include "ListItems.h"

#include <shobjidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace standin {

// One tab's folder view shown through the shell's interfaces: the platform's own shell view of
// the folder (IShellFolder::CreateViewObject), or the stand-in's items view without a list
// control. The view window is a child of the browser's window.
class ShellViewPane {
public:
    enum class Kind { Platform, Items };

    ShellViewPane() = default;
    ~ShellViewPane() { Destroy(); }
    ShellViewPane(const ShellViewPane&) = delete;
    ShellViewPane& operator=(const ShellViewPane&) = delete;

    // Replaces the view by a new one of the folder; false when none could be created.
    bool Show(IShellBrowser* browser, const std::wstring& folder, Kind kind, const ViewExtras& extras,
              const RECT& area, bool visible);
    void Destroy();
    void Place(const RECT& area);

    IShellView* View() const { return view.Get(); }
    HWND Window() const { return window; }
    // The platform view's list control where it has one (Wine's view does); null otherwise.
    HWND ListView() const;
    // The file-system names the view shows, or the texts of its list, in view order.
    std::vector<std::wstring> ItemNames(ItemState state) const;
    const ItemsView* OwnItemsView() const { return itemsView.Get(); }

private:
    Microsoft::WRL::ComPtr<IShellView> view;
    Microsoft::WRL::ComPtr<ItemsView> itemsView;
    HWND window = nullptr;
};

}  // namespace standin
