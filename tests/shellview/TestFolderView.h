#pragma once

#include "shared/ScratchFolder.h"
#include "support/UniqueHandle.h"

#include <windows.h>
#include <shlobj.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace testing_shellview {

using TempFolder = testsupport::ScratchFolder;

struct PidlFree {
    void operator()(ITEMIDLIST_ABSOLUTE* pidl) const { ::ILFree(pidl); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST_ABSOLUTE, PidlFree>;

UniquePidl PidlFromPath(const std::wstring& path);
// "My Computer": a shell object with no file-system path.
UniquePidl VirtualFolderPidl();

// Creates a window of a class registered once for the test program.
HWND CreateTestWindow(HWND parent, const wchar_t* className, const wchar_t* title = L"");
HWND CreateListView(HWND parent);
// A line of windows, each the only child of the one before; returns the last.
HWND CreateChain(HWND parent, std::initializer_list<const wchar_t*> classNames,
                 const wchar_t* title = L"");
// The host windows that newer shells put between the view window and its list control.
HWND CreateWrapperChain(HWND view, const wchar_t* title = L"");

// A stand-in for a file-browser window: a top-level window with a "SHELLDLL_DefView" child that
// holds the list control either directly or inside the chain of host windows of newer shells.
class TestBrowserWindow {
public:
    enum class Layout { Direct, Wrapped };
    explicit TestBrowserWindow(Layout layout = Layout::Direct);

    HWND Browser() const { return browser.Get(); }
    HWND List() const { return list; }

    // Shows the object of the identifier list as the view's next item; the window keeps the list.
    void AddItem(UniquePidl pidl, const wchar_t* displayName = L"item");
    int ItemCount() const;
    std::vector<int> SelectedItems() const;
    int FocusedItem() const;
    void SetSelected(int index, bool selected) const;
    // The text each item shows, in view order.
    std::vector<std::wstring> ItemTexts() const;

private:
    support::UniqueWindow browser;
    HWND list = nullptr;
    std::vector<UniquePidl> pidls;
};

// A browser window showing one item for each name, files created in folder, in that order; a name
// given as nullptr stands for a virtual item.
void ShowFiles(TestBrowserWindow& window, const TempFolder& folder,
               const std::vector<const wchar_t*>& names);

}  // namespace testing_shellview
