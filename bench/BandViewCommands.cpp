// Figures for Tab, "sel " and "filt " typed into the real band hosted in the stand-in browser, whose
// folder view shows many items; each should cost at most about twice a plain pass that reads every
// item's name.
#include "BestOfRounds.h"
#include "BrowserWindow.h"
#include "band/ConsoleCoreFactory.h"
#include "shellview/ShellListView.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int ITEM_COUNT = 20000;
constexpr int ROUNDS = 3;

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
    bool Open(const std::wstring& folder)
    {
        standin::BrowserOptions options;
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

    int ReadAllNames() const
    {
        const HWND list = window.ListView();
        const int count = shellview::GetViewItemCount(list);
        int named = 0;
        for (int index = 0; index < count; ++index) {
            wchar_t name[MAX_PATH];
            named += shellview::GetViewItemName(list, index, name) ? 1 : 0;
        }
        return named;
    }

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

    int ItemCount() const { return shellview::GetViewItemCount(window.ListView()); }
    int RefreshView()
    {
        window.Browser()->Refresh();
        return ItemCount();
    }

    int CountOf(UINT state) const
    {
        int count = 0;
        for (int index = -1; (index = ListView_GetNextItem(window.ListView(), index, LVNI_ALL)) >= 0;)
            count += (ListView_GetItemState(window.ListView(), index, state) & state) ? 1 : 0;
        return count;
    }

private:
    standin::BrowserWindow window;
    HWND edit = nullptr;
    std::wstring prompt;
};

}  // namespace

int main()
{
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"bench-band-view";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    int status = 0;
    {
        Bench bench;
        if (!bench.Open(folder)) {
            std::printf("the band did not start in the stand-in browser\n");
            status = 3;
        } else {
            // The first pass also pays for the shell's own start-up; it is not what the commands cost.
            std::printf("%d items, %d with a name\n", bench.ItemCount(), bench.ReadAllNames());
            Figure bare{"read every name (bare)"};
            Figure cycle{"Tab full cycle for \"synthetic0100\" (presses)"};
            Figure select{"sel *.txt (selected)"};
            Figure keepAll{"filt *.txt (kept all, so the view is refreshed)"};
            Figure refresh{"  of which: the stand-in's view refill"};
            Figure filter{"filt *0.txt (items left)"};
            for (int round = 0; round < ROUNDS; ++round) {
                bare.Measure([&] { return bench.ReadAllNames(); });
                bench.StartLine(L"type synthetic0100");
                cycle.Measure([&] { return bench.CompletionCycle(); });
                bench.StartLine(L"sel *.txt");
                select.Measure([&] {
                    bench.Submit();
                    return bench.CountOf(LVIS_SELECTED);
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
            for (const Figure* figure : {&bare, &cycle, &select, &keepAll, &refresh, &filter})
                figure->Report(bare.best);
            // The refill is the stand-in's work, not the band's: what is left is the command's own.
            const double ownPart = keepAll.best - refresh.best;
            std::printf("%-52s %9.1f ms  %5.2fx bare\n", "filt *.txt less the view refill", ownPart,
                        ownPart / bare.best);
        }
    }
    ::RemoveDirectoryW(folder.c_str());
    ::OleUninitialize();
    return status;
}
