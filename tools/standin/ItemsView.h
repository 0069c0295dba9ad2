#pragma once

#include "ComObject.h"
#include "FolderView.h"
#include "support/UniqueHandle.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

namespace standin {

// IShellFolderView's identifier, which not every SDK's libraries carry.
extern const IID ShellFolderViewId;

// The name of the event that a slow Items call (ViewExtras::slowItemsMs) of the process sets
// when it begins.
std::wstring SlowCallEventName(DWORD processId);

// A folder view of the kind that today's browser draws: one window that paints the items itself,
// with no list control anywhere, so that it answers only through IShellView, IFolderView(2) and
// IShellFolderView. Items are indexed in view order; each keeps its child identifier list. Of
// IFolderView2 it offers what reads items and the selection by index; grouping, sorting,
// properties and verbs answer E_NOTIMPL.
class ItemsView final : public ComObject<IShellView, IFolderView2, IShellFolderView> {
public:
    ItemsView(const std::wstring& folder, const ViewExtras& extras);

    // What the view shows, for those who watch it: names in view order, and those selected or
    // focused.
    std::vector<std::wstring> Names() const;
    std::vector<std::wstring> SelectedNames() const;
    std::vector<std::wstring> FocusedNames() const;
    int RedrawPauses() const { return redrawPauses; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IShellView
    STDMETHODIMP TranslateAccelerator(MSG* message) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP UIActivate(UINT state) override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP CreateViewWindow(IShellView* previous, LPCFOLDERSETTINGS settings, IShellBrowser* browser,
                                  RECT* area, HWND* window) override;
    STDMETHODIMP DestroyViewWindow() override;
    STDMETHODIMP GetCurrentInfo(LPFOLDERSETTINGS settings) override;
    STDMETHODIMP AddPropertySheetPages(DWORD reserved, LPFNSVADDPROPSHEETPAGE add, LPARAM lParam) override;
    STDMETHODIMP SaveViewState() override;
    STDMETHODIMP SelectItem(PCUITEMID_CHILD child, SVSIF flags) override;
    STDMETHODIMP GetItemObject(UINT item, REFIID iid, void** object) override;

    // IFolderView
    STDMETHODIMP GetCurrentViewMode(UINT* mode) override;
    STDMETHODIMP SetCurrentViewMode(UINT mode) override;
    STDMETHODIMP GetFolder(REFIID iid, void** object) override;
    STDMETHODIMP Item(int index, PITEMID_CHILD* child) override;
    STDMETHODIMP ItemCount(UINT flags, int* count) override;
    STDMETHODIMP Items(UINT flags, REFIID iid, void** object) override;
    STDMETHODIMP GetSelectionMarkedItem(int* index) override;
    STDMETHODIMP GetFocusedItem(int* index) override;
    STDMETHODIMP GetItemPosition(PCUITEMID_CHILD child, POINT* point) override;
    STDMETHODIMP GetSpacing(POINT* point) override;
    STDMETHODIMP GetDefaultSpacing(POINT* point) override;
    STDMETHODIMP GetAutoArrange() override;
    STDMETHODIMP SelectItem(int index, DWORD flags) override;
    STDMETHODIMP SelectAndPositionItems(UINT count, PCUITEMID_CHILD_ARRAY children, POINT* points,
                                        DWORD flags) override;

    // IFolderView2
    STDMETHODIMP SetGroupBy(REFPROPERTYKEY key, BOOL ascending) override;
    STDMETHODIMP GetGroupBy(PROPERTYKEY* key, BOOL* ascending) override;
    STDMETHODIMP SetViewProperty(PCUITEMID_CHILD child, REFPROPERTYKEY key, REFPROPVARIANT value) override;
    STDMETHODIMP GetViewProperty(PCUITEMID_CHILD child, REFPROPERTYKEY key, PROPVARIANT* value) override;
    STDMETHODIMP SetTileViewProperties(PCUITEMID_CHILD child, LPCWSTR properties) override;
    STDMETHODIMP SetExtendedTileViewProperties(PCUITEMID_CHILD child, LPCWSTR properties) override;
    STDMETHODIMP SetText(FVTEXTTYPE type, LPCWSTR text) override;
    STDMETHODIMP SetCurrentFolderFlags(DWORD mask, DWORD flags) override;
    STDMETHODIMP GetCurrentFolderFlags(DWORD* flags) override;
    STDMETHODIMP GetSortColumnCount(int* count) override;
    STDMETHODIMP SetSortColumns(const SORTCOLUMN* columns, int count) override;
    STDMETHODIMP GetSortColumns(SORTCOLUMN* columns, int count) override;
    STDMETHODIMP GetItem(int index, REFIID iid, void** object) override;
    STDMETHODIMP GetVisibleItem(int start, BOOL previous, int* index) override;
    STDMETHODIMP GetSelectedItem(int start, int* index) override;
    STDMETHODIMP GetSelection(BOOL noneImpliesFolder, IShellItemArray** selection) override;
    STDMETHODIMP GetSelectionState(PCUITEMID_CHILD child, DWORD* flags) override;
    STDMETHODIMP InvokeVerbOnSelection(LPCSTR verb) override;
    STDMETHODIMP SetViewModeAndIconSize(FOLDERVIEWMODE mode, int imageSize) override;
    STDMETHODIMP GetViewModeAndIconSize(FOLDERVIEWMODE* mode, int* imageSize) override;
    STDMETHODIMP SetGroupSubsetCount(UINT visibleRows) override;
    STDMETHODIMP GetGroupSubsetCount(UINT* visibleRows) override;
    STDMETHODIMP IsMoveInSameFolder() override;
    STDMETHODIMP DoRename() override;

    // IShellFolderView
    STDMETHODIMP Rearrange(LPARAM sort) override;
    STDMETHODIMP GetArrangeParam(LPARAM* sort) override;
    STDMETHODIMP ArrangeGrid() override;
    STDMETHODIMP AutoArrange() override;
    STDMETHODIMP AddObject(PUITEMID_CHILD child, UINT* index) override;
    STDMETHODIMP GetObject(PITEMID_CHILD* child, UINT index) override;
    STDMETHODIMP RemoveObject(PUITEMID_CHILD child, UINT* index) override;
    STDMETHODIMP GetObjectCount(UINT* count) override;
    STDMETHODIMP SetObjectCount(UINT count, UINT flags) override;
    STDMETHODIMP UpdateObject(PUITEMID_CHILD before, PUITEMID_CHILD after, UINT* index) override;
    STDMETHODIMP RefreshObject(PUITEMID_CHILD child, UINT* index) override;
    // (IFolderView2's as well)
    STDMETHODIMP SetRedraw(BOOL redraw) override;
    STDMETHODIMP GetSelectedCount(UINT* count) override;
    STDMETHODIMP GetSelectedObjects(PCUITEMID_CHILD** children, UINT* count) override;
    STDMETHODIMP IsDropOnSource(IDropTarget* target) override;
    STDMETHODIMP GetDragPoint(POINT* point) override;
    STDMETHODIMP GetDropPoint(POINT* point) override;
    STDMETHODIMP MoveIcons(IDataObject* data) override;
    STDMETHODIMP SetItemPos(PCUITEMID_CHILD child, POINT* point) override;
    STDMETHODIMP IsBkDropTarget(IDropTarget* target) override;
    STDMETHODIMP SetClipboard(BOOL move) override;
    STDMETHODIMP SetPoints(IDataObject* data) override;
    STDMETHODIMP GetItemSpacing(ITEMSPACING* spacing) override;
    STDMETHODIMP SetCallback(IShellFolderViewCB* callback, IShellFolderViewCB** previous) override;
    STDMETHODIMP Select(UINT flags) override;
    STDMETHODIMP QuerySupport(UINT* support) override;
    STDMETHODIMP SetAutomationObject(IDispatch* automation) override;

private:
    struct ViewItem {
        std::shared_ptr<ITEMID_CHILD> child;
        std::wstring name;
        bool selected = false;
    };

    ~ItemsView() override;
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Fill();
    void Paint(HWND window);
    void Redraw();
    int IndexOf(PCUITEMID_CHILD child, int hint) const;
    HRESULT ShellItems(bool selectedOnly, IShellItemArray** result) const;
    std::vector<std::wstring> NamesWhere(bool ViewItem::*state) const;

    std::wstring folderPath;
    ViewExtras extras;
    Microsoft::WRL::ComPtr<IShellFolder> folder;
    std::vector<ViewItem> items;
    support::UniqueWindow window;
    int topIndex = 0;
    int focusedIndex = -1;
    int lastRemoved = 0;
    int redrawPauses = 0;
    bool redrawOn = true;
};

}  // namespace standin
