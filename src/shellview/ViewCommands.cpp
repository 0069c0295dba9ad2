#include "shellview/ViewCommands.h"

#include "shellview/ShellFolderView.h"
#include "shellview/ShellListView.h"
#include "shellview/WildcardMatch.h"

#include <commctrl.h>
#include <exdisp.h>

#include <vector>

namespace shellview {
namespace {

constexpr DWORD COMMAND_MATCH_FLAGS = MATCH_LOWERCASE | MATCH_HALFWIDTH;
constexpr int ALL_ITEMS = -1;

// The pattern list as the commands use it: cut to the list buffer and folded like every name.
class PatternBuffer {
public:
    PatternBuffer(const wchar_t* patterns, DWORD flags)
    {
        ::lstrcpynW(text, patterns, PATTERN_LIST_CAPACITY);
        NormalizeForMatch(text, flags);
    }
    const wchar_t* Get() const { return text; }

private:
    wchar_t text[PATTERN_LIST_CAPACITY];
};

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

enum class ItemMatch { Nameless, Matches, DoesNotMatch };

ItemMatch MatchItem(HWND list, int index, const PatternBuffer& patterns, DWORD flags)
{
    wchar_t name[MAX_PATH];
    if (!GetViewItemName(list, index, name))
        return ItemMatch::Nameless;
    NormalizeForMatch(name, flags);
    return MatchPatternList(name, patterns.Get()) ? ItemMatch::Matches : ItemMatch::DoesNotMatch;
}

// Indexes of the named items whose match is as wanted, ascending or descending.
std::vector<int> IndexesWhere(const std::vector<std::wstring>& names, const wchar_t* patterns, bool matching,
                              bool descending)
{
    const PatternBuffer buffer(patterns, COMMAND_MATCH_FLAGS);
    std::vector<int> indexes;
    wchar_t name[MAX_PATH];
    for (size_t at = 0; at < names.size(); ++at) {
        const size_t index = descending ? names.size() - 1 - at : at;
        if (names[index].empty())
            continue;
        ::lstrcpynW(name, names[index].c_str(), MAX_PATH);
        NormalizeForMatch(name, COMMAND_MATCH_FLAGS);
        if ((MatchPatternList(name, buffer.Get()) != FALSE) == matching)
            indexes.push_back(static_cast<int>(index));
    }
    return indexes;
}

void SetItemState(HWND list, int index, UINT state, UINT mask)
{
    ListView_SetItemState(list, index, state, mask);
}

}  // namespace

int SelectMatchingItems(HWND list, const wchar_t* patterns, DWORD flags)
{
    if (list == nullptr)
        return 0;
    const PatternBuffer buffer(patterns, flags);
    SetItemState(list, ALL_ITEMS, 0, LVIS_SELECTED);
    const int count = GetViewItemCount(list);
    int selected = 0;
    int first = -1;
    for (int index = 0; index < count; ++index) {
        if (MatchItem(list, index, buffer, flags) != ItemMatch::Matches)
            continue;
        SetItemState(list, index, LVIS_SELECTED, LVIS_SELECTED);
        if (first < 0) {
            first = index;
            SetItemState(list, index, LVIS_FOCUSED, LVIS_FOCUSED);
        }
        ++selected;
    }
    if (first >= 0)
        ListView_EnsureVisible(list, first, FALSE);
    return selected;
}

int FilterItems(HWND list, const wchar_t* patterns, DWORD flags)
{
    if (list == nullptr)
        return 0;
    const PatternBuffer buffer(patterns, flags);
    SetItemState(list, ALL_ITEMS, 0, LVIS_SELECTED);
    SetItemState(list, ALL_ITEMS, 0, LVIS_FOCUSED);
    const ListUpdateFreeze freeze(list);
    int removed = 0;
    // From the last item down, so that a removal never shifts an item still to be visited.
    for (int index = GetViewItemCount(list) - 1; index >= 0; --index) {
        if (MatchItem(list, index, buffer, flags) != ItemMatch::DoesNotMatch)
            continue;
        ListView_DeleteItem(list, index);
        ++removed;
    }
    return removed;
}

int RunSelectCommand(HWND list, const wchar_t* patterns)
{
    const int selected = SelectMatchingItems(list, patterns, COMMAND_MATCH_FLAGS);
    if (selected > 0)
        ::SetFocus(list);
    return selected;
}

int RunFilterCommand(HWND list, const wchar_t* patterns, IWebBrowser2* browser)
{
    const int removed = FilterItems(list, patterns, COMMAND_MATCH_FLAGS);
    if (removed == 0 && browser != nullptr)
        browser->Refresh();
    return removed;
}

int RunSelectCommand(const ShellFolderView& view, const wchar_t* patterns)
{
    const std::vector<int> selected = IndexesWhere(view.NamesByIndex(), patterns, true, false);
    view.SelectOnly(selected);
    if (!selected.empty())
        ::SetFocus(view.Window());
    return static_cast<int>(selected.size());
}

std::optional<int> RunFilterCommand(const ShellFolderView& view, const wchar_t* patterns, IWebBrowser2* browser)
{
    view.SelectOnly({});
    const std::optional<int> removed = view.Remove(IndexesWhere(view.NamesByIndex(), patterns, false, true));
    if (removed == 0 && browser != nullptr)
        browser->Refresh();
    return removed;
}

std::wstring FilterRefusedMessage()
{
    return L"filt: this folder view does not let items be removed; nothing was hidden.";
}

}  // namespace shellview
