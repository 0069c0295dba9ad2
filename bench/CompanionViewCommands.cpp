// Figures for Tab and "sel " typed into a console that the companion docked to a browser of
// another process, whose items view shows many items, against reading every name once through
// the same cross-process interfaces (one IShellItemArray from IFolderView::Items): Tab against
// the names in view order, "sel " against the names by index. Each should cost at most about
// twice the bare read. Arguments: items (20,000), rounds (1).
#include "BestOfRounds.h"
#include "CompanionBench.h"
#include "support/ComResources.h"

#include <exdisp.h>
#include <ole2.h>
#include <shlguid.h>
#include <shlwapi.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>

namespace {

using Microsoft::WRL::ComPtr;

int ITEM_COUNT = 20000;
int ROUNDS = 1;

// The browser's view as any program reaches it: the list's first entry, its top-level browser's
// active shell view.
ComPtr<IFolderView> RemoteView(IShellWindows* list)
{
    support::UniqueVariant first;
    first.vt = VT_I4;
    first.lVal = 0;
    ComPtr<IDispatch> item;
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> shellBrowser;
    ComPtr<IShellView> view;
    ComPtr<IFolderView> folderView;
    if (list->Item(first, &item) == S_OK && SUCCEEDED(item.As(&services)) &&
        SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&shellBrowser))) &&
        SUCCEEDED(shellBrowser->QueryActiveShellView(&view)))
        view.As(&folderView);
    return folderView;
}

// Every name through one Items call; the number of names read.
int BareRead(IFolderView* view, SVGIO which)
{
    ComPtr<IShellItemArray> items;
    DWORD count = 0;
    if (FAILED(view->Items(which, IID_PPV_ARGS(&items))) || FAILED(items->GetCount(&count)))
        return -1;
    int named = 0;
    for (DWORD index = 0; index < count; ++index) {
        ComPtr<IShellItem> shellItem;
        wchar_t* path = nullptr;
        if (SUCCEEDED(items->GetItemAt(index, &shellItem)) &&
            SUCCEEDED(shellItem->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            named += *::PathFindFileNameW(path) != L'\0' ? 1 : 0;
            ::CoTaskMemFree(path);
        }
    }
    return named;
}

// The first hundred items in the middle of the view share this beginning: "synthetic0100" of
// 20,000 items.
std::wstring CycledPrefix()
{
    wchar_t number[16] = {};
    ::wnsprintfW(number, 16, L"%06d", ITEM_COUNT / 2);
    return L"synthetic" + std::wstring(number).substr(0, 4);
}

// Tab pressed until the command line comes back to its first completion; the number of presses,
// negative when a press completed nothing.
int CompletionCycle(bench::CompanionBench& bench)
{
    const auto press = [&] {
        const std::wstring before = bench.Text();
        bench.Press(VK_TAB);
        return bench.Pump([&] { return bench.Text() != before; }, 60000);
    };
    if (!press())
        return -1;
    const std::wstring first = bench.Text();
    int presses = 1;
    do {
        if (!press())
            return -presses;
        ++presses;
    } while (bench.Text() != first && presses <= ITEM_COUNT + 1);
    return presses;
}

// "sel *.txt" and Enter, until the console shows its next prompt.
int Select(bench::CompanionBench& bench)
{
    const size_t promptsBefore = [&] {
        size_t count = 0;
        const std::wstring text = bench.Text();
        for (size_t at = text.find(bench.prompt); at != std::wstring::npos; at = text.find(bench.prompt, at + 1))
            ++count;
        return count;
    }();
    bench.Press(VK_RETURN);
    bench.Pump([&] {
        const std::wstring text = bench.Text();
        size_t count = 0;
        for (size_t at = text.find(bench.prompt); at != std::wstring::npos; at = text.find(bench.prompt, at + 1))
            ++count;
        return count > promptsBefore && bench::CompanionBench::EndsWith(text, bench.prompt);
    });
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        ITEM_COUNT = std::atoi(argv[1]);
    if (argc > 2)
        ROUNDS = std::atoi(argv[2]);
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"bench-companion-view";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t full[MAX_PATH] = {};
    ::GetLongPathNameW(folder.c_str(), full, MAX_PATH);
    folder = full;
    {
        bench::CompanionBench bench;
        if (!bench.Open(folder, {L"--items-view", L"--items", std::to_wstring(ITEM_COUNT)})) {
            std::printf("the companion's console did not start beside the stand-in browser\n");
            return 1;
        }
        const ComPtr<IShellWindows> list = bench.list.Connect();
        const ComPtr<IFolderView> view = list ? RemoteView(list.Get()) : nullptr;
        if (!view) {
            std::printf("the browser's view cannot be reached through the list\n");
            return 1;
        }
        std::printf("items view of another process, %d items, through the companion\n", ITEM_COUNT);
        Figure inOrder{"read every name in view order (bare for Tab)"};
        Figure byIndex{"read every name by index (bare for sel)"};
        const std::wstring prefix = CycledPrefix();
        const std::string cycled = "Tab full cycle for \"" + std::string(prefix.begin(), prefix.end()) + "\" (presses)";
        Figure cycle{cycled.c_str()};
        Figure select{"sel *.txt"};
        for (int round = 0; round < ROUNDS; ++round) {
            inOrder.Measure([&] { return BareRead(view.Get(), static_cast<SVGIO>(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER)); });
            byIndex.Measure([&] { return BareRead(view.Get(), SVGIO_ALLVIEW); });
            bench.StartLine(L"type " + prefix);
            cycle.Measure([&] { return CompletionCycle(bench); });
            bench.StartLine(L"sel *.txt");
            select.Measure([&] { return Select(bench); });
        }
        inOrder.Report(inOrder.best);
        byIndex.Report(byIndex.best);
        cycle.Report(inOrder.best);
        select.Report(byIndex.best);
        bench.following.Stop();
    }
    ::RemoveDirectoryW(folder.c_str());
    ::OleUninitialize();
    return 0;
}
