#include "shellview/ShellFolderView.h"

#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace shellview {
namespace {

// IShellFolderView's identifier, which not every SDK's libraries carry.
constexpr IID SHELL_FOLDER_VIEW_ID = {0x37a378c0, 0xf82d, 0x11ce, {0xae, 0x65, 0x08, 0x00, 0x2b, 0x2e, 0x12, 0x62}};

// An item identifier that the view handed out; the caller frees it.
struct ChildIdList {
    PITEMID_CHILD id = nullptr;
    ~ChildIdList() { ::CoTaskMemFree(id); }
};

std::shared_ptr<ITEMIDLIST_ABSOLUTE> FolderOf(IFolderView* folderView)
{
    Microsoft::WRL::ComPtr<IPersistFolder2> persist;
    PIDLIST_ABSOLUTE folder = nullptr;
    if (FAILED(folderView->GetFolder(IID_PPV_ARGS(&persist))) || FAILED(persist->GetCurFolder(&folder)))
        return nullptr;
    return std::shared_ptr<ITEMIDLIST_ABSOLUTE>(folder, [](PIDLIST_ABSOLUTE id) { ::ILFree(id); });
}

// The file-system name of a child of the folder, or null.
const wchar_t* FileSystemName(PCIDLIST_ABSOLUTE folder, PCUITEMID_CHILD child, wchar_t (&path)[MAX_PATH])
{
    PIDLIST_ABSOLUTE item = ::ILCombine(folder, child);
    const bool named = item != nullptr && ::SHGetPathFromIDListW(item, path);
    ::ILFree(item);
    return named ? ::PathFindFileNameW(path) : nullptr;
}

}  // namespace

std::optional<ShellFolderView> ShellFolderView::OfBrowser(IServiceProvider* services)
{
    Microsoft::WRL::ComPtr<IShellBrowser> shellBrowser;
    Microsoft::WRL::ComPtr<IShellView> active;
    if (services == nullptr || FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&shellBrowser))) ||
        FAILED(shellBrowser->QueryActiveShellView(&active)) || !active)
        return std::nullopt;
    return OfView(active.Get());
}

std::optional<ShellFolderView> ShellFolderView::OfView(IShellView* shellView)
{
    Microsoft::WRL::ComPtr<IFolderView> folderView;
    if (shellView == nullptr || FAILED(shellView->QueryInterface(IID_PPV_ARGS(&folderView))))
        return std::nullopt;
    return ShellFolderView(shellView, folderView, FolderOf(folderView.Get()));
}

ShellFolderView::ShellFolderView(Microsoft::WRL::ComPtr<IShellView> view,
                                 Microsoft::WRL::ComPtr<IFolderView> folderView,
                                 std::shared_ptr<ITEMIDLIST_ABSOLUTE> folder)
    : view(std::move(view)), folderView(std::move(folderView)), folder(std::move(folder))
{
}

void ShellFolderView::VisitItemsByIndex(const NameVisitor& visit) const
{
    int count = 0;
    if (FAILED(folderView->ItemCount(SVGIO_ALLVIEW, &count)))
        return;
    for (int index = 0; index < count; ++index) {
        ChildIdList child;
        if (FAILED(folderView->Item(index, &child.id)) || child.id == nullptr)
            continue;
        wchar_t path[MAX_PATH];
        visit(index, child.id, folder ? FileSystemName(folder.get(), child.id, path) : nullptr);
    }
}

std::vector<std::wstring> ShellFolderView::NamesByIndex() const
{
    std::vector<std::wstring> names;
    VisitItemsByIndex([&](int index, PCUITEMID_CHILD, const wchar_t* name) {
        names.resize(static_cast<size_t>(index) + 1);
        if (name != nullptr)
            names.back() = name;
    });
    return names;
}

// The view's own order, which may differ from the index order (sorted or grouped views).
std::optional<std::vector<std::wstring>> ShellFolderView::NamesFromItemArray() const
{
    Microsoft::WRL::ComPtr<IShellItemArray> items;
    DWORD count = 0;
    if (FAILED(folderView->Items(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER, IID_PPV_ARGS(&items))) ||
        FAILED(items->GetCount(&count)))
        return std::nullopt;
    std::vector<std::wstring> names(count);
    for (DWORD index = 0; index < count; ++index) {
        Microsoft::WRL::ComPtr<IShellItem> item;
        wchar_t* path = nullptr;
        if (FAILED(items->GetItemAt(index, &item)) || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)))
            continue;
        names[index] = ::PathFindFileNameW(path);
        ::CoTaskMemFree(path);
    }
    return names;
}

std::vector<std::wstring> ShellFolderView::NamesInViewOrder() const
{
    // Views that cannot list their items as an array (an empty one may refuse) are read by index.
    if (std::optional<std::vector<std::wstring>> names = NamesFromItemArray())
        return std::move(*names);
    return NamesByIndex();
}

void ShellFolderView::SelectOnly(const std::vector<int>& indexes) const
{
    if (indexes.empty()) {
        int count = 0;
        if (SUCCEEDED(folderView->ItemCount(SVGIO_ALLVIEW, &count)) && count > 0)
            folderView->SelectItem(0, SVSI_DESELECTOTHERS);
        return;
    }
    folderView->SelectItem(indexes.front(), SVSI_DESELECTOTHERS | SVSI_SELECT | SVSI_FOCUSED | SVSI_ENSUREVISIBLE);
    for (size_t at = 1; at < indexes.size(); ++at)
        folderView->SelectItem(indexes[at], SVSI_SELECT);
}

std::optional<int> ShellFolderView::Remove(const std::vector<int>& indexes) const
{
    if (indexes.empty())
        return 0;
    Microsoft::WRL::ComPtr<IShellFolderView> items;
    if (FAILED(view->QueryInterface(SHELL_FOLDER_VIEW_ID, reinterpret_cast<void**>(items.GetAddressOf()))))
        return std::nullopt;
    items->SetRedraw(FALSE);
    std::optional<int> removed = 0;
    for (const int index : indexes) {
        ChildIdList child;
        if (FAILED(folderView->Item(index, &child.id)) || child.id == nullptr)
            continue;
        UINT at = 0;
        const HRESULT result = items->RemoveObject(child.id, &at);
        if (result == E_NOTIMPL) {
            removed.reset();
            break;
        }
        if (SUCCEEDED(result))
            ++*removed;
    }
    items->SetRedraw(TRUE);
    return removed;
}

HWND ShellFolderView::Window() const
{
    HWND window = nullptr;
    return SUCCEEDED(view->GetWindow(&window)) ? window : nullptr;
}

}  // namespace shellview
