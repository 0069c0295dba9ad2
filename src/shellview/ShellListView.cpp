#include "shellview/ShellListView.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace shellview {
namespace {

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

}  // namespace shellview
