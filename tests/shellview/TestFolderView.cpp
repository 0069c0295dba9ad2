#include "TestFolderView.h"

#include <commctrl.h>


namespace testing_shellview {
namespace {

const wchar_t* const TEST_CLASSES[] = {
    L"TestBrowserFrame", L"SHELLDLL_DefView", L"DUIViewWndClassName", L"DirectUIHWND",
    L"CtrlNotifySink", L"TestOtherHost"};

void RegisterTestClasses()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        for (const wchar_t* name : TEST_CLASSES) {
            WNDCLASSW windowClass = {};
            windowClass.lpfnWndProc = ::DefWindowProcW;
            windowClass.hInstance = ::GetModuleHandleW(nullptr);
            windowClass.lpszClassName = name;
            ::RegisterClassW(&windowClass);
        }
        return true;
    }();
    (void)registered;
}

}  // namespace

UniquePidl PidlFromPath(const std::wstring& path)
{
    return UniquePidl(::ILCreateFromPathW(path.c_str()));
}

UniquePidl VirtualFolderPidl()
{
    PIDLIST_ABSOLUTE pidl = nullptr;
    ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl);
    return UniquePidl(pidl);
}

HWND CreateTestWindow(HWND parent, const wchar_t* className, const wchar_t* title)
{
    RegisterTestClasses();
    const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    return ::CreateWindowExW(0, className, title, style, 0, 0, 400, 300, parent, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

HWND CreateListView(HWND parent)
{
    RegisterTestClasses();
    return ::CreateWindowExW(0, WC_LISTVIEWW, L"FolderView",
                             WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 400, 300,
                             parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

HWND CreateChain(HWND parent, std::initializer_list<const wchar_t*> classNames, const wchar_t* title)
{
    for (const wchar_t* className : classNames)
        parent = CreateTestWindow(parent, className, title);
    return parent;
}

HWND CreateWrapperChain(HWND view, const wchar_t* title)
{
    return CreateChain(view, {L"DUIViewWndClassName", L"DirectUIHWND", L"CtrlNotifySink"}, title);
}

TestBrowserWindow::TestBrowserWindow(Layout layout)
    : browser(CreateTestWindow(nullptr, L"TestBrowserFrame", L"Browser"))
{
    const HWND view = CreateTestWindow(browser.Get(), L"SHELLDLL_DefView");
    list = CreateListView(layout == Layout::Wrapped ? CreateWrapperChain(view) : view);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 200;
    ListView_InsertColumn(list, 0, &column);
}

void TestBrowserWindow::AddItem(UniquePidl pidl, const wchar_t* displayName)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ItemCount();
    item.pszText = const_cast<wchar_t*>(displayName);
    item.lParam = reinterpret_cast<LPARAM>(pidl.get());
    ListView_InsertItem(list, &item);
    pidls.push_back(std::move(pidl));
}

int TestBrowserWindow::ItemCount() const
{
    return ListView_GetItemCount(list);
}

std::vector<int> TestBrowserWindow::SelectedItems() const
{
    std::vector<int> selected;
    for (int index = 0; index < ItemCount(); ++index) {
        if (ListView_GetItemState(list, index, LVIS_SELECTED) & LVIS_SELECTED)
            selected.push_back(index);
    }
    return selected;
}

int TestBrowserWindow::FocusedItem() const
{
    return ListView_GetNextItem(list, -1, LVNI_FOCUSED);
}

void TestBrowserWindow::SetSelected(int index, bool selected) const
{
    ListView_SetItemState(list, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

std::vector<std::wstring> TestBrowserWindow::ItemTexts() const
{
    std::vector<std::wstring> texts;
    for (int index = 0; index < ItemCount(); ++index) {
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(list, index, 0, text, MAX_PATH);
        texts.push_back(text);
    }
    return texts;
}

void ShowFiles(TestBrowserWindow& window, const TempFolder& folder,
               const std::vector<const wchar_t*>& names)
{
    for (const wchar_t* name : names) {
        if (name == nullptr)
            window.AddItem(VirtualFolderPidl(), L"My Computer");
        else
            window.AddItem(PidlFromPath(folder.File(name)), name);
    }
}

}  // namespace testing_shellview
