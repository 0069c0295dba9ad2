#pragma once

#include "support/UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace standin {

// The folder view the window shows. Classic and Newer are the older browser's view, which
// answers only through its list control: Classic keeps the list directly in the view window,
// Newer at the end of the chain DUIViewWndClassName, DirectUIHWND, CtrlNotifySink below it; the
// browser then offers no shell view. ShellView is the platform's own shell view of the folder
// and ItemsView the stand-in's view without any list control, as today's browser draws it; both
// are reached through IShellBrowser::QueryActiveShellView.
enum class ViewLayout { Classic, Newer, ShellView, ItemsView };

// Items the view shows besides the folder's own.
struct ViewExtras {
    // Objects outside the file system (Control Panel, Recycle Bin, ...), whose identifier lists
    // have no path.
    bool virtualItems = false;
    // Items "synthetic000001.txt" ... whose identifier lists name files in the folder that need
    // not exist; for measuring work over large views.
    int syntheticItems = 0;
    // The items view refuses to remove items (IShellFolderView::RemoveObject not implemented),
    // as some shell views do.
    bool refusesRemoval = false;
    // The items view's IFolderView::Items blocks its thread this long before it answers, as a
    // browser that hangs; meanwhile the event SlowCallEventName(this process) is set, so that
    // a test knows when to end the process in the middle of the call.
    DWORD slowItemsMs = 0;
};


struct FolderEntry {
    std::wstring name;
    bool isFolder;
};

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
// The entries a folder view shows: folders first, then files, each in the shell's logical name
// order; hidden entries stay out of sight, as with the browser's default settings.
std::vector<FolderEntry> VisibleEntries(const std::wstring& folder);
// The name of the synthetic item of that number, "synthetic000001.txt" ...
std::wstring SyntheticItemName(int number);

// The shell's folder view as the band finds it: a "SHELLDLL_DefView" window holding a
// "SysListView32" whose items carry their absolute identifier lists in lParam. The view owns
// those lists and frees each one when its item goes, whoever removes it.
class FolderView {
public:
    using OpenFolderHandler = std::function<void(const std::wstring& folder)>;

    explicit FolderView(OpenFolderHandler onOpenFolder);
    ~FolderView();
    FolderView(const FolderView&) = delete;
    FolderView& operator=(const FolderView&) = delete;

    bool Create(HWND parent, ViewLayout layout);
    void Destroy();

    // Replaces the items by the folder's visible entries (folders first, then files, each in
    // the shell's logical name order), followed by the extras.
    void ShowFolder(const std::wstring& folder, const ViewExtras& extras);
    // Replaces the items by the virtual items alone, as in a folder outside the file system.
    void ShowVirtualItemsOnly();
    void Clear();

    void Place(const RECT& area);
    HWND Window() const { return view.Get(); }
    HWND ListView() const { return list; }

private:
    static LRESULT CALLBACK ViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(const NMHDR& header);
    void OpenItem(int index);
    HWND CreateListParent(ViewLayout layout);
    void AddFolderEntries(const std::wstring& folder);
    void AddVirtualItems();
    void AddSyntheticItems(const std::wstring& folder, int count);

    OpenFolderHandler onOpenFolder;
    support::UniqueWindow view;
    HWND list = nullptr;
};

}  // namespace standin
