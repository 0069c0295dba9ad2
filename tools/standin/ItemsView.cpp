#include "ItemsView.h"

#include "ItemIdList.h"
#include "WindowClass.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>

namespace standin {

const IID ShellFolderViewId = {0x37a378c0, 0xf82d, 0x11ce, {0xae, 0x65, 0x08, 0x00, 0x2b, 0x2e, 0x12, 0x62}};

namespace {

constexpr const wchar_t* ItemsViewClassName = L"StandInItemsView";
constexpr int LineHeight = 16;

std::shared_ptr<ITEMID_CHILD> SharedChild(PITEMID_CHILD child)
{
    return std::shared_ptr<ITEMID_CHILD>(child, [](PITEMID_CHILD id) { ::ILFree(id); });
}

PITEMID_CHILD CloneChild(PCUITEMID_CHILD child)
{
    return reinterpret_cast<PITEMID_CHILD>(::ILClone(reinterpret_cast<PCUIDLIST_RELATIVE>(child)));
}

bool SameId(PCUITEMID_CHILD left, PCUITEMID_CHILD right)
{
    const UINT size = ::ILGetSize(reinterpret_cast<PCUIDLIST_RELATIVE>(left));
    return size == ::ILGetSize(reinterpret_cast<PCUIDLIST_RELATIVE>(right)) && std::memcmp(left, right, size) == 0;
}

Microsoft::WRL::ComPtr<IShellFolder> FolderObject(const std::wstring& path)
{
    Microsoft::WRL::ComPtr<IShellFolder> desktop;
    Microsoft::WRL::ComPtr<IShellFolder> folder;
    PIDLIST_RELATIVE id = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop)) ||
        FAILED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(path.c_str()), nullptr, &id, nullptr)))
        return nullptr;
    desktop->BindToObject(id, nullptr, IID_PPV_ARGS(&folder));
    ::ILFree(id);
    return folder;
}

// Tells a waiting test that the call has begun, then holds the thread without serving messages.
void BlockAsSlowCall(DWORD milliseconds)
{
    const support::UniqueHandle begun(
        ::OpenEventW(EVENT_MODIFY_STATE, FALSE, SlowCallEventName(::GetCurrentProcessId()).c_str()));
    if (begun)
        ::SetEvent(begun.Get());
    ::Sleep(milliseconds);
}

}  // namespace

std::wstring SlowCallEventName(DWORD processId)
{
    return L"Local\\StandInBrowser.SlowCall." + std::to_wstring(processId);
}

ItemsView::ItemsView(const std::wstring& folderPath, const ViewExtras& extras)
    : folderPath(folderPath), extras(extras), folder(FolderObject(folderPath))
{
    Fill();
}

ItemsView::~ItemsView()
{
    window.Reset();
}

void ItemsView::Fill()
{
    items.clear();
    focusedIndex = -1;
    if (!folder)
        return;
    for (const FolderEntry& entry : VisibleEntries(folderPath)) {
        PIDLIST_RELATIVE child = nullptr;
        if (SUCCEEDED(folder->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(entry.name.c_str()), nullptr,
                                               &child, nullptr)))
            items.push_back({SharedChild(reinterpret_cast<PITEMID_CHILD>(child)), entry.name});
    }
    for (int number = 1; number <= extras.syntheticItems; ++number) {
        const std::wstring name = SyntheticItemName(number);
        PIDLIST_ABSOLUTE simple = ::SHSimpleIDListFromPath(JoinPath(folderPath, name).c_str());
        if (simple)
            items.push_back({SharedChild(CloneChild(reinterpret_cast<PCUITEMID_CHILD>(::ILFindLastID(simple)))), name});
        ::ILFree(simple);
    }
}

std::vector<std::wstring> ItemsView::Names() const
{
    std::vector<std::wstring> names;
    for (const ViewItem& item : items)
        names.push_back(item.name);
    return names;
}

std::vector<std::wstring> ItemsView::SelectedNames() const
{
    std::vector<std::wstring> names;
    for (const ViewItem& item : items) {
        if (item.selected)
            names.push_back(item.name);
    }
    return names;
}

std::vector<std::wstring> ItemsView::FocusedNames() const
{
    if (focusedIndex < 0 || focusedIndex >= static_cast<int>(items.size()))
        return {};
    return {items[static_cast<size_t>(focusedIndex)].name};
}

// Searches from the hint downwards first: the band removes items from the last to the first.
int ItemsView::IndexOf(PCUITEMID_CHILD child, int hint) const
{
    const int count = static_cast<int>(items.size());
    if (child == nullptr || count == 0)
        return -1;
    const int start = std::min(std::max(hint, 0), count - 1);
    for (int visited = 0, index = start; visited < count; ++visited, index = index > 0 ? index - 1 : count - 1) {
        if (SameId(items[static_cast<size_t>(index)].child.get(), child))
            return index;
    }
    return -1;
}

void ItemsView::Redraw()
{
    if (window && redrawOn)
        ::InvalidateRect(window.Get(), nullptr, TRUE);
}

void ItemsView::Paint(HWND target)
{
    PAINTSTRUCT paint = {};
    const HDC dc = ::BeginPaint(target, &paint);
    RECT client = {};
    ::GetClientRect(target, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    const HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    int top = 2;
    for (int index = topIndex; index < static_cast<int>(items.size()) && top < client.bottom; ++index) {
        const ViewItem& item = items[static_cast<size_t>(index)];
        RECT line = {2, top, client.right - 2, top + LineHeight};
        if (item.selected)
            ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        if (index == focusedIndex)
            ::DrawFocusRect(dc, &line);
        ::SetTextColor(dc, ::GetSysColor(item.selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        line.left += 4;
        ::DrawTextW(dc, item.name.c_str(), -1, &line, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        top += LineHeight;
    }
    ::SelectObject(dc, oldFont);
    ::EndPaint(target, &paint);
}

LRESULT CALLBACK ItemsView::WindowProcedure(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
{
    ItemsView* owner = WindowOwner<ItemsView>(target, message, lParam);
    switch (message) {
    case WM_PAINT:
        if (owner)
            owner->Paint(target);
        else
            ::ValidateRect(target, nullptr);
        return 0;
    case WM_LBUTTONDOWN:
        ::SetFocus(target);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        return ::DefWindowProcW(target, message, wParam, lParam);
    }
}

STDMETHODIMP ItemsView::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellView)
        return Answer(static_cast<IShellView*>(this), object);
    if (iid == IID_IFolderView || iid == IID_IFolderView2)
        return Answer(static_cast<IFolderView2*>(this), object);
    if (iid == ShellFolderViewId)
        return Answer(static_cast<IShellFolderView*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ItemsView::GetWindow(HWND* result)
{
    if (!result)
        return E_POINTER;
    *result = window.Get();
    return window ? S_OK : E_FAIL;
}

STDMETHODIMP ItemsView::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::TranslateAccelerator(MSG*)
{
    return S_FALSE;
}

STDMETHODIMP ItemsView::EnableModeless(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::UIActivate(UINT)
{
    return S_OK;
}

STDMETHODIMP ItemsView::Refresh()
{
    Fill();
    Redraw();
    return S_OK;
}

STDMETHODIMP ItemsView::CreateViewWindow(IShellView*, LPCFOLDERSETTINGS, IShellBrowser* browser, RECT* area,
                                         HWND* result)
{
    if (!browser || !area || !result)
        return E_INVALIDARG;
    *result = nullptr;
    HWND parent = nullptr;
    if (window || FAILED(browser->GetWindow(&parent)) ||
        !EnsureWindowClass(ItemsViewClassName, WindowProcedure, ::GetSysColorBrush(COLOR_WINDOW)))
        return E_FAIL;
    window.Reset(::CreateWindowExW(WS_EX_CLIENTEDGE, ItemsViewClassName, L"Items",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, area->left, area->top,
                                   area->right - area->left, area->bottom - area->top, parent, nullptr,
                                   ::GetModuleHandleW(nullptr), this));
    *result = window.Get();
    return window ? S_OK : E_FAIL;
}

STDMETHODIMP ItemsView::DestroyViewWindow()
{
    window.Reset();
    return S_OK;
}

STDMETHODIMP ItemsView::GetCurrentInfo(LPFOLDERSETTINGS settings)
{
    if (!settings)
        return E_POINTER;
    settings->ViewMode = FVM_DETAILS;
    settings->fFlags = 0;
    return S_OK;
}

STDMETHODIMP ItemsView::AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE, LPARAM)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SaveViewState()
{
    return S_OK;
}

STDMETHODIMP ItemsView::SelectItem(PCUITEMID_CHILD child, SVSIF flags)
{
    const int index = IndexOf(child, 0);
    return index < 0 ? E_INVALIDARG : SelectItem(index, static_cast<DWORD>(flags));
}

STDMETHODIMP ItemsView::GetItemObject(UINT, REFIID, void** object)
{
    if (object)
        *object = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetCurrentViewMode(UINT* mode)
{
    if (!mode)
        return E_POINTER;
    *mode = FVM_DETAILS;
    return S_OK;
}

STDMETHODIMP ItemsView::SetCurrentViewMode(UINT)
{
    return S_OK;
}

STDMETHODIMP ItemsView::GetFolder(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return folder ? folder->QueryInterface(iid, object) : E_FAIL;
}

STDMETHODIMP ItemsView::Item(int index, PITEMID_CHILD* child)
{
    if (!child)
        return E_POINTER;
    *child = nullptr;
    if (index < 0 || index >= static_cast<int>(items.size()))
        return E_INVALIDARG;
    *child = CloneChild(items[static_cast<size_t>(index)].child.get());
    return *child ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP ItemsView::ItemCount(UINT flags, int* count)
{
    if (!count)
        return E_POINTER;
    if ((flags & SVGIO_TYPE_MASK) == SVGIO_SELECTION)
        *count = static_cast<int>(std::count_if(items.begin(), items.end(), [](const ViewItem& item) {
            return item.selected;
        }));
    else
        *count = static_cast<int>(items.size());
    return S_OK;
}

STDMETHODIMP ItemsView::Items(UINT flags, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (extras.slowItemsMs > 0)
        BlockAsSlowCall(extras.slowItemsMs);
    if (iid != IID_IShellItemArray)
        return E_NOINTERFACE;
    return ShellItems((flags & SVGIO_TYPE_MASK) == SVGIO_SELECTION, reinterpret_cast<IShellItemArray**>(object));
}

HRESULT ItemsView::ShellItems(bool selectedOnly, IShellItemArray** result) const
{
    std::vector<PCUITEMID_CHILD> children;
    children.reserve(items.size());
    for (const ViewItem& item : items) {
        if (!selectedOnly || item.selected)
            children.push_back(item.child.get());
    }
    if (children.empty())
        return E_FAIL;
    return ::SHCreateShellItemArray(nullptr, folder.Get(), static_cast<UINT>(children.size()), children.data(),
                                    result);
}

STDMETHODIMP ItemsView::GetSelectionMarkedItem(int* index)
{
    return GetFocusedItem(index);
}

STDMETHODIMP ItemsView::GetFocusedItem(int* index)
{
    if (!index)
        return E_POINTER;
    *index = focusedIndex;
    return focusedIndex >= 0 ? S_OK : S_FALSE;
}

STDMETHODIMP ItemsView::GetItemPosition(PCUITEMID_CHILD, POINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetSpacing(POINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetDefaultSpacing(POINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetAutoArrange()
{
    return S_FALSE;
}

STDMETHODIMP ItemsView::SelectItem(int index, DWORD flags)
{
    if (index < 0 || index >= static_cast<int>(items.size()))
        return E_INVALIDARG;
    if (flags & SVSI_DESELECTOTHERS) {
        for (ViewItem& item : items)
            item.selected = false;
    }
    items[static_cast<size_t>(index)].selected = (flags & SVSI_SELECT) != 0;
    if (flags & SVSI_FOCUSED)
        focusedIndex = index;
    if (flags & SVSI_ENSUREVISIBLE)
        topIndex = index;
    Redraw();
    return S_OK;
}

STDMETHODIMP ItemsView::SelectAndPositionItems(UINT, PCUITEMID_CHILD_ARRAY, POINT*, DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::Rearrange(LPARAM)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetArrangeParam(LPARAM*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::ArrangeGrid()
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::AutoArrange()
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::AddObject(PUITEMID_CHILD, UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetObject(PITEMID_CHILD* child, UINT index)
{
    return Item(static_cast<int>(index), child);
}

STDMETHODIMP ItemsView::RemoveObject(PUITEMID_CHILD child, UINT* removedAt)
{
    if (extras.refusesRemoval)
        return E_NOTIMPL;
    const int index = IndexOf(child, lastRemoved);
    if (removedAt)
        *removedAt = static_cast<UINT>(index);
    if (index < 0)
        return E_INVALIDARG;
    items.erase(items.begin() + index);
    if (focusedIndex == index)
        focusedIndex = -1;
    else if (focusedIndex > index)
        --focusedIndex;
    lastRemoved = index > 0 ? index - 1 : 0;
    topIndex = std::min(topIndex, std::max(static_cast<int>(items.size()) - 1, 0));
    Redraw();
    return S_OK;
}

STDMETHODIMP ItemsView::GetObjectCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = static_cast<UINT>(items.size());
    return S_OK;
}

STDMETHODIMP ItemsView::SetObjectCount(UINT, UINT)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::UpdateObject(PUITEMID_CHILD, PUITEMID_CHILD, UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::RefreshObject(PUITEMID_CHILD, UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetRedraw(BOOL redraw)
{
    redrawOn = redraw != FALSE;
    if (!redrawOn)
        ++redrawPauses;
    Redraw();
    return S_OK;
}

STDMETHODIMP ItemsView::GetSelectedCount(UINT* count)
{
    int selected = 0;
    if (!count)
        return E_POINTER;
    ItemCount(SVGIO_SELECTION, &selected);
    *count = static_cast<UINT>(selected);
    return S_OK;
}

STDMETHODIMP ItemsView::GetSelectedObjects(PCUITEMID_CHILD**, UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::IsDropOnSource(IDropTarget*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetDragPoint(POINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetDropPoint(POINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::MoveIcons(IDataObject*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetItemPos(PCUITEMID_CHILD, POINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::IsBkDropTarget(IDropTarget*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetClipboard(BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetPoints(IDataObject*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetItemSpacing(ITEMSPACING*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetCallback(IShellFolderViewCB*, IShellFolderViewCB** previous)
{
    if (previous)
        *previous = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::Select(UINT)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::QuerySupport(UINT*)
{
    return S_OK;
}

STDMETHODIMP ItemsView::SetAutomationObject(IDispatch*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetGroupBy(REFPROPERTYKEY, BOOL)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetGroupBy(PROPERTYKEY*, BOOL*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetViewProperty(PCUITEMID_CHILD, REFPROPERTYKEY, REFPROPVARIANT)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetViewProperty(PCUITEMID_CHILD, REFPROPERTYKEY, PROPVARIANT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetTileViewProperties(PCUITEMID_CHILD, LPCWSTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetExtendedTileViewProperties(PCUITEMID_CHILD, LPCWSTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetText(FVTEXTTYPE, LPCWSTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetCurrentFolderFlags(DWORD, DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetCurrentFolderFlags(DWORD* flags)
{
    if (!flags)
        return E_POINTER;
    *flags = 0;
    return S_OK;
}

STDMETHODIMP ItemsView::GetSortColumnCount(int*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetSortColumns(const SORTCOLUMN*, int)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetSortColumns(SORTCOLUMN*, int)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetItem(int index, REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (index < 0 || index >= static_cast<int>(items.size()))
        return E_INVALIDARG;
    return ::SHCreateItemWithParent(nullptr, folder.Get(), items[static_cast<size_t>(index)].child.get(), iid,
                                    object);
}

// The next item after `start` (-1: the first), or before it; S_FALSE when there is none.
STDMETHODIMP ItemsView::GetVisibleItem(int start, BOOL previous, int* index)
{
    if (!index)
        return E_POINTER;
    const int count = static_cast<int>(items.size());
    const int next = previous ? (start < 0 ? count - 1 : start - 1) : start + 1;
    *index = next >= 0 && next < count ? next : -1;
    return *index >= 0 ? S_OK : S_FALSE;
}

// The first selected item after `start` (-1: from the first); S_FALSE when there is none.
STDMETHODIMP ItemsView::GetSelectedItem(int start, int* index)
{
    if (!index)
        return E_POINTER;
    *index = -1;
    for (int next = std::max(start + 1, 0); next < static_cast<int>(items.size()); ++next) {
        if (items[static_cast<size_t>(next)].selected) {
            *index = next;
            return S_OK;
        }
    }
    return S_FALSE;
}

STDMETHODIMP ItemsView::GetSelection(BOOL noneImpliesFolder, IShellItemArray** selection)
{
    if (!selection)
        return E_POINTER;
    *selection = nullptr;
    const HRESULT result = ShellItems(true, selection);
    if (result != E_FAIL || !noneImpliesFolder)
        return result;
    Microsoft::WRL::ComPtr<IPersistFolder2> shown;
    UniqueItemIdList id;
    if (!folder || FAILED(folder.As(&shown)) || FAILED(shown->GetCurFolder(id.Receive())))
        return E_FAIL;
    PCIDLIST_ABSOLUTE folderItself = id.Get();
    return ::SHCreateShellItemArrayFromIDLists(1, &folderItself, selection);
}

STDMETHODIMP ItemsView::GetSelectionState(PCUITEMID_CHILD, DWORD*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::InvokeVerbOnSelection(LPCSTR)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::SetViewModeAndIconSize(FOLDERVIEWMODE, int)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetViewModeAndIconSize(FOLDERVIEWMODE* mode, int* imageSize)
{
    if (!mode || !imageSize)
        return E_POINTER;
    *mode = FVM_DETAILS;
    *imageSize = 16;
    return S_OK;
}

STDMETHODIMP ItemsView::SetGroupSubsetCount(UINT)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::GetGroupSubsetCount(UINT*)
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::IsMoveInSameFolder()
{
    return E_NOTIMPL;
}

STDMETHODIMP ItemsView::DoRename()
{
    return E_NOTIMPL;
}

}  // namespace standin
