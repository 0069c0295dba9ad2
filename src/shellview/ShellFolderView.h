#pragma once

#include <windows.h>
#include <servprov.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace shellview {

// The folder view of the band's own browser, reached through the shell's interfaces: the
// browser's active shell view (its active tab) and its IFolderView. This is the browser's view
// on every shell since Vista, whatever window classes draw it.
class ShellFolderView {
public:
    // The active view of the browser whose services the band's site offers; nothing when the
    // browser offers no shell view (a web page, an older browser, a view still being built).
    static std::optional<ShellFolderView> OfBrowser(IServiceProvider* services);
    // Any shell view object; nothing when it is no folder view.
    static std::optional<ShellFolderView> OfView(IShellView* view);

    // The file-system name of each item (with its extension, however the view displays it), in
    // the order the view shows them; empty for an item without a file-system path.
    std::vector<std::wstring> NamesInViewOrder() const;
    // The same names by the index of IFolderView::Item, the index space of SelectItem.
    std::vector<std::wstring> NamesByIndex() const;

    // Clears the selection, then selects the items of the indexes given in ascending order; the
    // first of them is focused and scrolled into view.
    void SelectOnly(const std::vector<int>& indexes) const;
    // Removes the items of the indexes, given in descending order so that no removal shifts an
    // item still to come; the view is drawn once at the end. The number removed, or nothing when
    // the view does not let items be removed (no IShellFolderView, or RemoveObject refused), and
    // then nothing more is tried.
    std::optional<int> Remove(const std::vector<int>& indexes) const;

    // The view's window, which takes the keyboard focus for the selected items.
    HWND Window() const;

private:
    ShellFolderView(Microsoft::WRL::ComPtr<IShellView> view, Microsoft::WRL::ComPtr<IFolderView> folderView,
                    std::shared_ptr<ITEMIDLIST_ABSOLUTE> folder);

    using NameVisitor = std::function<void(int index, PCUITEMID_CHILD child, const wchar_t* name)>;
    // Visits every item by index; name is null for an item without a file-system path.
    void VisitItemsByIndex(const NameVisitor& visit) const;
    std::optional<std::vector<std::wstring>> NamesFromItemArray() const;

    Microsoft::WRL::ComPtr<IShellView> view;
    Microsoft::WRL::ComPtr<IFolderView> folderView;
    std::shared_ptr<ITEMIDLIST_ABSOLUTE> folder;  // the folder the view shows; null when unknown
};

}  // namespace shellview
