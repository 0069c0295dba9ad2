#include "FolderView.h"

#include "ItemIdList.h"
#include "WindowClass.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace standin {
namespace {

constexpr const wchar_t* ViewClassName = L"SHELLDLL_DefView";
// The newer view's list lies at the end of this chain of direct children below the view window.
constexpr const wchar_t* NewerChain[] = {L"DUIViewWndClassName", L"DirectUIHWND", L"CtrlNotifySink"};

// The windows of the newer chain only pass their list's notifications up towards the view
// window, which owns the items, and keep their one child as large as themselves.
LRESULT CALLBACK ChainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY:
    case WM_COMMAND:
        return ::SendMessageW(::GetParent(window), message, wParam, lParam);
    case WM_SIZE:
        FitFirstChild(window);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// Appends an item; the list view takes over the identifier list when the item was added.
void AddItem(HWND list, const std::wstring& name, UniqueItemIdList idList)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(name.c_str());
    item.lParam = reinterpret_cast<LPARAM>(idList.Get());
    if (::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) != -1)
        idList.Release();
}

std::wstring DisplayName(PCIDLIST_ABSOLUTE idList)
{
    SHFILEINFOW info = {};
    if (!::SHGetFileInfoW(reinterpret_cast<const wchar_t*>(idList), 0, &info, sizeof(info),
                          SHGFI_PIDL | SHGFI_DISPLAYNAME))
        return {};
    return info.szDisplayName;
}

bool HasFileSystemPath(PCIDLIST_ABSOLUTE idList)
{
    wchar_t path[MAX_PATH] = {};
    return ::SHGetPathFromIDListW(idList, path) != FALSE;
}

// Suspends drawing while many items change.
class RedrawPause {
public:
    explicit RedrawPause(HWND window) : window(window) { ::SendMessageW(window, WM_SETREDRAW, FALSE, 0); }
    ~RedrawPause()
    {
        ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(window, nullptr, TRUE);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND window;
};

}  // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    if (!folder.empty() && folder.back() == L'\\')
        return folder + name;
    return folder + L'\\' + name;
}

std::vector<FolderEntry> VisibleEntries(const std::wstring& folder)
{
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found = {};
    support::UniqueFindHandle search(::FindFirstFileW(JoinPath(folder, L"*").c_str(), &found));
    if (!search)
        return entries;
    do {
        const std::wstring name = found.cFileName;
        // Hidden entries stay out of sight, as with the browser's default settings.
        if (name == L"." || name == L".." || (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
            continue;
        entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (::FindNextFileW(search.Get(), &found));
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& left, const FolderEntry& right) {
        if (left.isFolder != right.isFolder)
            return left.isFolder;
        return ::StrCmpLogicalW(left.name.c_str(), right.name.c_str()) < 0;
    });
    return entries;
}

std::wstring SyntheticItemName(int number)
{
    wchar_t name[32] = {};
    ::wnsprintfW(name, ARRAYSIZE(name), L"synthetic%06d.txt", number);
    return name;
}

FolderView::FolderView(OpenFolderHandler onOpenFolder) : onOpenFolder(std::move(onOpenFolder)) {}

FolderView::~FolderView()
{
    Destroy();
}

bool FolderView::Create(HWND parent, ViewLayout layout)
{
    Destroy();
    if (!EnsureWindowClass(ViewClassName, ViewProcedure, ::GetSysColorBrush(COLOR_WINDOW)))
        return false;
    for (const wchar_t* name : NewerChain) {
        if (!EnsureWindowClass(name, ChainProcedure))
            return false;
    }
    view.Reset(::CreateWindowExW(0, ViewClassName, L"ShellView", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                 0, 0, 0, 0, parent, nullptr, ::GetModuleHandleW(nullptr), this));
    if (!view)
        return false;
    const HWND listParent = CreateListParent(layout);
    list = ::CreateWindowExW(0, WC_LISTVIEWW, L"FolderView",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                             0, 0, 0, 0, listParent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!list) {
        Destroy();
        return false;
    }
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 400;
    column.pszText = const_cast<wchar_t*>(L"Name");
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    return true;
}

HWND FolderView::CreateListParent(ViewLayout layout)
{
    HWND parent = view.Get();
    if (layout == ViewLayout::Classic)
        return parent;
    for (const wchar_t* name : NewerChain) {
        parent = ::CreateWindowExW(0, name, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (!parent)
            return nullptr;
    }
    return parent;
}

void FolderView::Destroy()
{
    // The items go first, while the view window still receives the list's notifications.
    Clear();
    list = nullptr;
    view.Reset();
}

void FolderView::Clear()
{
    if (list)
        ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

void FolderView::ShowFolder(const std::wstring& folder, const ViewExtras& extras)
{
    if (!list)
        return;
    RedrawPause pause(list);
    Clear();
    AddFolderEntries(folder);
    if (extras.virtualItems)
        AddVirtualItems();
    AddSyntheticItems(folder, extras.syntheticItems);
}

void FolderView::ShowVirtualItemsOnly()
{
    if (!list)
        return;
    RedrawPause pause(list);
    Clear();
    AddVirtualItems();
}

void FolderView::AddFolderEntries(const std::wstring& folder)
{
    for (const FolderEntry& entry : VisibleEntries(folder)) {
        UniqueItemIdList idList(::ILCreateFromPathW(JoinPath(folder, entry.name).c_str()));
        if (idList)
            AddItem(list, entry.name, std::move(idList));
    }
}

void FolderView::AddVirtualItems()
{
    for (const int folderId : {CSIDL_CONTROLS, CSIDL_BITBUCKET, CSIDL_PRINTERS}) {
        UniqueItemIdList idList;
        if (FAILED(::SHGetFolderLocation(nullptr, folderId, nullptr, 0, idList.Receive())) ||
            HasFileSystemPath(idList.Get()))
            continue;
        const std::wstring name = DisplayName(idList.Get());
        AddItem(list, name, std::move(idList));
    }
}

void FolderView::AddSyntheticItems(const std::wstring& folder, int count)
{
    for (int number = 1; number <= count; ++number) {
        const std::wstring name = SyntheticItemName(number);
        UniqueItemIdList idList(::SHSimpleIDListFromPath(JoinPath(folder, name).c_str()));
        if (idList)
            AddItem(list, name, std::move(idList));
    }
}

void FolderView::Place(const RECT& area)
{
    if (view)
        ::MoveWindow(view.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void FolderView::OpenItem(int index)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (index < 0 || !::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) || !item.lParam)
        return;
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item.lParam), path) &&
        ::PathIsDirectoryW(path) && onOpenFolder)
        onOpenFolder(path);
}

LRESULT FolderView::OnNotify(const NMHDR& header)
{
    if (header.hwndFrom != list)
        return 0;
    switch (header.code) {
    case LVN_DELETEITEM:
        ::ILFree(reinterpret_cast<PIDLIST_ABSOLUTE>(reinterpret_cast<const NMLISTVIEW&>(header).lParam));
        return 0;
    case LVN_DELETEALLITEMS:
        // FALSE asks for one LVN_DELETEITEM per item, which frees its identifier list.
        return FALSE;
    case LVN_ITEMACTIVATE:
        // A click focuses the item it activates; activation by keyboard may come without
        // naming an item at all, so the focused item is the one meant.
        OpenItem(static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
        return 0;
    default:
        return 0;
    }
}

LRESULT CALLBACK FolderView::ViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    FolderView* owner = WindowOwner<FolderView>(window, message, lParam);
    switch (message) {
    case WM_NOTIFY:
        return owner ? owner->OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) : 0;
    case WM_SIZE:
        FitFirstChild(window);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace standin
