// Figures for Tab, "sel " and "filt " typed into the real band hosted in the stand-in browser, whose
// folder view shows many items: first the items view reached only through the shell's interfaces,
// then the older list control. Each should cost at most about twice a plain pass that reads every
// item's name the same way: Tab against the names in view order, "sel " and "filt " against the
// names by index.
#include "BestOfRounds.h"
#include "BrowserWindow.h"
#include "band/ConsoleCoreFactory.h"
#include "shellview/ShellFolderView.h"
#include "shellview/ShellListView.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

// The view's items; a first argument asks for another number.
int ITEM_COUNT = 20000;
// Rounds of each layout; a second argument asks for another number.
int ROUNDS = 3;

std::wstring WindowText(HWND window)
{
    std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1);
    const int length = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<size_t>(length));
}

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The band in a browser window whose view shows the folder's synthetic items.
class Bench {
public:
    bool Open(const std::wstring& folder, standin::ViewLayout layout)
    {
        standin::BrowserOptions options;
        options.layout = layout;
        options.extras.syntheticItems = ITEM_COUNT;
        Microsoft::WRL::ComPtr<IUnknown> band;
        if (!window.Create(folder, options) ||
            FAILED(band::CreateConsoleCore(nullptr, IID_IUnknown, reinterpret_cast<void**>(band.GetAddressOf()))) ||
            FAILED(window.SiteBand(band.Get())))
            return false;
        edit = ::FindWindowExW(window.BandWindow(), nullptr, L"Brimblestone Editbox", nullptr);
        prompt = window.Folder() + L">";
        return edit != nullptr && window.PumpUntil([&] { return EndsWith(WindowText(edit), prompt); });
    }

    // The names as Tab reads them: in view order.
    int ReadNamesInViewOrder() const { return Named(ShellView() ? ShellView()->NamesInViewOrder() : ListNames()); }
    // The names as "sel " and "filt " read them: by the view's index.
    int ReadNamesByIndex() const { return Named(ShellView() ? ShellView()->NamesByIndex() : ListNames()); }

    // Empties the command line, with the focus back in the console, and types on it.
    void StartLine(const std::wstring& typed)
    {
        ::SetFocus(edit);
        while (!EndsWith(WindowText(edit), prompt))
            window.PressKey(edit, VK_BACK);
        window.TypeText(edit, typed);
    }

    // Tab pressed until the command line comes back to its first completion; the number of presses.
    int CompletionCycle()
    {
        window.PressKey(edit, VK_TAB);
        const std::wstring first = WindowText(edit);
        int presses = 1;
        do {
            window.PressKey(edit, VK_TAB);
            ++presses;
        } while (WindowText(edit) != first && presses <= ITEM_COUNT + 1);
        return presses;
    }

    // Enter on a typed command the band runs itself: what the command costs as the user sees it.
    void Submit() { window.PressKey(edit, VK_RETURN); }

    int ItemCount() const { return static_cast<int>(window.ViewItemNames().size()); }
    int RefreshView()
    {
        window.Browser()->Refresh();
        return ItemCount();
    }

    int SelectedCount() const { return static_cast<int>(window.ViewItemNames(standin::ItemState::Selected).size()); }

private:
    std::optional<shellview::ShellFolderView> ShellView() const
    {
        Microsoft::WRL::ComPtr<IShellView> active;
        if (FAILED(window.ShellBrowserObject()->QueryActiveShellView(&active)))
            return std::nullopt;
        return shellview::ShellFolderView::OfView(active.Get());
    }
    std::vector<std::wstring> ListNames() const { return shellview::ReadViewNames(window.ListView()); }
    static int Named(const std::vector<std::wstring>& names)
    {
        int named = 0;
        for (const std::wstring& name : names)
            named += name.empty() ? 0 : 1;
        return named;
    }

    standin::BrowserWindow window;
    HWND edit = nullptr;
    std::wstring prompt;
};

// Every figure of one layout, measured in the same run.
void MeasureLayout(const std::wstring& folder, standin::ViewLayout layout, const char* title)
{
    Bench bench;
    if (!bench.Open(folder, layout)) {
        std::printf("%s: the band did not start in the stand-in browser\n", title);
        return;
    }
    // The first pass also pays for the shell's own start-up; it is not what the commands cost.
    std::fflush(stdout);
    std::printf("\n%s: %d items, %d with a name\n", title, bench.ItemCount(), bench.ReadNamesByIndex());
    Figure inOrder{"read every name in view order (bare for Tab)"};
    Figure byIndex{"read every name by index (bare for sel, filt)"};
    Figure cycle{"Tab full cycle for \"synthetic0100\" (presses)"};
    Figure select{"sel *.txt (selected)"};
    Figure keepAll{"filt *.txt (kept all, so the view is refreshed)"};
    Figure refresh{"  of which: the stand-in's view refill"};
    Figure filter{"filt *0.txt (items left)"};
    for (int round = 0; round < ROUNDS; ++round) {
        inOrder.Measure([&] { return bench.ReadNamesInViewOrder(); });
        byIndex.Measure([&] { return bench.ReadNamesByIndex(); });
        bench.StartLine(L"type synthetic0100");
        cycle.Measure([&] { return bench.CompletionCycle(); });
        bench.StartLine(L"sel *.txt");
        select.Measure([&] {
            bench.Submit();
            return bench.SelectedCount();
        });
        bench.StartLine(L"filt *.txt");
        keepAll.Measure([&] {
            bench.Submit();
            return bench.ItemCount();
        });
        refresh.Measure([&] { return bench.RefreshView(); });
        bench.StartLine(L"filt *0.txt");
        filter.Measure([&] {
            bench.Submit();
            return bench.ItemCount();
        });
        bench.RefreshView();
    }
    inOrder.Report(inOrder.best);
    byIndex.Report(byIndex.best);
    cycle.Report(inOrder.best);
    for (const Figure* figure : {&select, &keepAll, &refresh, &filter})
        figure->Report(byIndex.best);
    // The refill is the stand-in's work, not the band's: what is left is the command's own.
    const double ownPart = keepAll.best - refresh.best;
    std::printf("%-52s %9.1f ms  %5.2fx bare\n", "filt *.txt less the view refill", ownPart, ownPart / byIndex.best);
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
    const std::wstring folder = std::wstring(temp) + L"bench-band-view";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    MeasureLayout(folder, standin::ViewLayout::ItemsView, "items view through the shell's interfaces");
    MeasureLayout(folder, standin::ViewLayout::Classic, "list control found by its windows");
    ::RemoveDirectoryW(folder.c_str());
    ::OleUninitialize();
    return 0;
}
