#include "shellview/ShellListView.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace shellview {
namespace {

constexpr int ALL_ITEMS = -1;

// Keeps the list still while many items go: redrawing and recomputing the scroll range after each
// removal would make a large filter many times slower, so the list is painted once at the end.
// Only one window in the system can be locked, so the lock is released only when this one took it:
// another program's lock stays untouched.
class ListUpdateFreeze {
public:
    explicit ListUpdateFreeze(HWND list) : list(list), locked(::LockWindowUpdate(list) != FALSE)
    {
        ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    }
    ListUpdateFreeze(const ListUpdateFreeze&) = delete;
    ListUpdateFreeze& operator=(const ListUpdateFreeze&) = delete;
    ~ListUpdateFreeze()
    {
        ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
        if (locked)
            ::LockWindowUpdate(nullptr);
    }

private:
    HWND list;
    bool locked;
};

void SetItemState(HWND list, int index, UINT state, UINT mask)
{
    ListView_SetItemState(list, index, state, mask);
}

HWND FindDirectChild(HWND parent, const wchar_t* className)
{
    return ::FindWindowExW(parent, nullptr, className, nullptr);
}

// Newer shells wrap the list control in a chain of their own host windows.
HWND FindWrappedListView(HWND viewWindow)
{
    static const wchar_t* const chain[] = {
        L"DUIViewWndClassName", L"DirectUIHWND", L"CtrlNotifySink", WC_LISTVIEWW};
    HWND window = viewWindow;
    for (const wchar_t* className : chain) {
        window = FindDirectChild(window, className);
        if (window == nullptr)
            return nullptr;
    }
    return window;
}

}  // namespace

HWND FindShellListView(HWND browserWindow)
{
    // A null parent would make the search cover every top-level window of the desktop.
    if (browserWindow == nullptr)
        return nullptr;
    const HWND viewWindow = FindDirectChild(browserWindow, L"SHELLDLL_DefView");
    if (viewWindow == nullptr)
        return nullptr;
    const HWND list = FindDirectChild(viewWindow, WC_LISTVIEWW);
    return list != nullptr ? list : FindWrappedListView(viewWindow);
}

int GetViewItemCount(HWND list)
{
    return list != nullptr ? ListView_GetItemCount(list) : 0;
}

bool GetViewItemName(HWND list, int index, wchar_t (&name)[MAX_PATH])
{
    name[0] = L'\0';
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    // The folder view keeps each item's identifier list in the item data.
    if (list == nullptr || !::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))
        || item.lParam == 0)
        return false;
    if (!::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item.lParam), name)) {
        name[0] = L'\0';
        return false;
    }
    ::PathStripPathW(name);
    return true;
}

std::vector<std::wstring> ReadViewNames(HWND list)
{
    std::vector<std::wstring> names(static_cast<size_t>(GetViewItemCount(list)));
    for (size_t index = 0; index < names.size(); ++index) {
        wchar_t name[MAX_PATH];
        if (GetViewItemName(list, static_cast<int>(index), name))
            names[index] = name;
    }
    return names;
}

void SelectListItems(HWND list, const std::vector<int>& ascending)
{
    if (list == nullptr)
        return;
    SetItemState(list, ALL_ITEMS, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (const int index : ascending)
        SetItemState(list, index, LVIS_SELECTED, LVIS_SELECTED);
    if (ascending.empty())
        return;
    SetItemState(list, ascending.front(), LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_EnsureVisible(list, ascending.front(), FALSE);
}

int RemoveListItems(HWND list, const std::vector<int>& descending)
{
    if (list == nullptr || descending.empty())
        return 0;
    const ListUpdateFreeze freeze(list);
    int removed = 0;
    for (const int index : descending) {
        if (ListView_DeleteItem(list, index))
            ++removed;
    }
    return removed;
}

}  // namespace shellview
