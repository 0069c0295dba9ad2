#include "ShellViewPane.h"

#include <commctrl.h>
#include <shlobj.h>

namespace standin {
namespace {

Microsoft::WRL::ComPtr<IShellView> PlatformView(HWND owner, const std::wstring& path)
{
    Microsoft::WRL::ComPtr<IShellFolder> desktop;
    Microsoft::WRL::ComPtr<IShellFolder> folder;
    Microsoft::WRL::ComPtr<IShellView> view;
    PIDLIST_RELATIVE id = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop)) ||
        FAILED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(path.c_str()), nullptr, &id, nullptr)))
        return nullptr;
    const HRESULT bound = desktop->BindToObject(id, nullptr, IID_PPV_ARGS(&folder));
    ::ILFree(id);
    if (FAILED(bound) || FAILED(folder->CreateViewObject(owner, IID_PPV_ARGS(&view))))
        return nullptr;
    return view;
}

}  // namespace

bool ShellViewPane::Show(IShellBrowser* browser, const std::wstring& folder, Kind kind, const ViewExtras& extras,
                         const RECT& area, bool visible)
{
    Destroy();
    HWND owner = nullptr;
    browser->GetWindow(&owner);
    if (kind == Kind::Items) {
        itemsView.Attach(new ItemsView(folder, extras));
        view = itemsView;
    } else {
        view = PlatformView(owner, folder);
    }
    FOLDERSETTINGS settings = {FVM_DETAILS, 0};
    RECT placed = area;
    if (!view || FAILED(view->CreateViewWindow(nullptr, &settings, browser, &placed, &window)) || !window) {
        Destroy();
        return false;
    }
    ::ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
    return true;
}

void ShellViewPane::Destroy()
{
    if (view && window)
        view->DestroyViewWindow();
    window = nullptr;
    view.Reset();
    itemsView.Reset();
}

void ShellViewPane::Place(const RECT& area)
{
    if (window)
        ::MoveWindow(window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

HWND ShellViewPane::ListView() const
{
    return window ? ::FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
}

std::vector<std::wstring> ShellViewPane::ItemNames(ItemState state) const
{
    if (!itemsView)
        return ListItemTexts(ListView(), state);
    switch (state) {
    case ItemState::Selected:
        return itemsView->SelectedNames();
    case ItemState::Focused:
        return itemsView->FocusedNames();
    case ItemState::Any:
    default:
        return itemsView->Names();
    }
}

}  // namespace standin
