// Figures for the view commands and Tab's scan on a folder view of many items: each should cost at
// most about twice a plain pass that reads every item's name.
#include "BestOfRounds.h"
#include "shellview/CompletionText.h"
#include "shellview/ShellListView.h"
#include "shellview/ViewCommands.h"
#include "shellview/ViewCompletion.h"
#include "support/UniqueHandle.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int ITEM_COUNT = 20000;
constexpr int ROUNDS = 5;

struct PidlFree {
    void operator()(ITEMIDLIST_ABSOLUTE* pidl) const { ::ILFree(pidl); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST_ABSOLUTE, PidlFree>;

// Names of a busy folder: a third text files, the rest spread over other kinds.
std::wstring ItemName(int index)
{
    static const wchar_t* const extensions[] = {L".txt", L".doc", L".xls"};
    return L"Item " + std::to_wstring(index) + extensions[index % 3];
}

// Identifier lists made from paths alone: the files need not exist for their names to be read.
std::vector<UniquePidl> MakePidls(const std::wstring& folder)
{
    std::vector<UniquePidl> pidls;
    pidls.reserve(ITEM_COUNT);
    for (int index = 0; index < ITEM_COUNT; ++index)
        pidls.emplace_back(::SHSimpleIDListFromPath((folder + ItemName(index)).c_str()));
    return pidls;
}

void FillList(HWND list, const std::vector<UniquePidl>& pidls)
{
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    ListView_SetItemCount(list, ITEM_COUNT);
    for (int index = 0; index < ITEM_COUNT; ++index) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(L"item");
        item.lParam = reinterpret_cast<LPARAM>(pidls[index].get());
        ListView_InsertItem(list, &item);
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

int ReadAllNames(HWND list)
{
    int named = 0;
    for (int index = 0; index < ITEM_COUNT; ++index) {
        wchar_t name[MAX_PATH];
        named += shellview::GetViewItemName(list, index, name) ? 1 : 0;
    }
    return named;
}

// Tab pressed until the cycle comes back to its first candidate: the names are read once as the
// cycle begins, then scanned from each match to the next, wrapping around once.
int CompletionCycle(HWND list, const std::wstring& base)
{
    const std::vector<std::wstring> names = shellview::ReadViewNames(list);
    const std::optional<shellview::ViewCandidate> first = shellview::FindViewCandidate(names, 0, base);
    if (!first)
        return 0;
    int presses = 1;
    for (int next = first->index + 1;; ++presses) {
        const std::optional<shellview::ViewCandidate> candidate = shellview::FindViewCandidate(names, next, base);
        if (candidate->index == first->index)
            return presses;
        next = candidate->index + 1;
    }
}

// "sel" and "filt" on the list as the band's list-view fallback runs them: every name read once,
// then the matching items selected, or the others removed.
int Select(HWND list, const wchar_t* patterns)
{
    const std::vector<int> selected = shellview::MatchingIndexes(shellview::ReadViewNames(list), patterns);
    shellview::SelectListItems(list, selected);
    return static_cast<int>(selected.size());
}

int Filter(HWND list, const wchar_t* patterns)
{
    shellview::SelectListItems(list, {});
    return shellview::RemoveListItems(list, shellview::IndexesToHide(shellview::ReadViewNames(list), patterns));
}

}  // namespace

int main()
{
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    support::UniqueWindow parent(::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                                                   nullptr, nullptr, nullptr, nullptr));
    const HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600,
                                        400, parent.Get(), nullptr, nullptr, nullptr);

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::vector<UniquePidl> pidls = MakePidls(temp);
    FillList(list, pidls);

    // The first pass also pays for the shell's own start-up; it is not what the commands cost.
    std::printf("%d items, %d with a name\n", ITEM_COUNT, ReadAllNames(list));

    // Wall-clock figures on a shared machine wander: each is the best of a few rounds.
    Figure bare{"read every name (bare)"};
    Figure select{"sel *.txt"};
    Figure cycle{"Tab full cycle for \"Item 1999\" (presses)"};
    Figure keepAll{"filt * (removes nothing)"};
    Figure filter{"filt *.txt (removed)"};
    for (int round = 0; round < ROUNDS; ++round) {
        FillList(list, pidls);
        bare.Measure([&] { return ReadAllNames(list); });
        select.Measure([&] { return Select(list, L"*.txt"); });
        cycle.Measure([&] { return CompletionCycle(list, shellview::CompletionBase(L"Item 1999")); });
        keepAll.Measure([&] { return Filter(list, L"*"); });
        filter.Measure([&] { return Filter(list, L"*.txt"); });
    }
    for (const Figure* figure : {&bare, &select, &cycle, &keepAll, &filter})
        figure->Report(bare.best);
    OleUninitialize();
    return 0;
}
