#include "shellview/ViewCompletion.h"

#include "shellview/ShellListView.h"

#include "TestFolderView.h"

#include <gtest/gtest.h>

using namespace shellview;
using namespace testing_shellview;

namespace {

// Names offered by successive Tab presses, each search starting just after the previous match.
std::vector<std::wstring> Cycle(HWND list, const std::wstring& base, int presses)
{
    const std::vector<std::wstring> viewNames = ReadViewNames(list);
    std::vector<std::wstring> names;
    int next = 0;
    for (int press = 0; press < presses; ++press) {
        const std::optional<ViewCandidate> candidate = FindViewCandidate(viewNames, next, base);
        if (!candidate)
            break;
        names.push_back(candidate->name);
        next = candidate->index + 1;
    }
    return names;
}

using Names = std::vector<std::wstring>;

TEST(FindViewCandidate, CyclesThroughMatchesInViewOrderAndWraps)
{
    const TempFolder folder;
    TestBrowserWindow window(TestBrowserWindow::Layout::Wrapped);
    ShowFiles(window, folder, {nullptr, L"Readme.txt", L"Zeta", nullptr, L"report.doc", nullptr});

    EXPECT_EQ((Names{L"Readme.txt", L"report.doc", L"Readme.txt"}), Cycle(window.List(), L"re", 3));
    EXPECT_EQ((Names{L"Readme.txt", L"Zeta", L"report.doc", L"Readme.txt"}),
              Cycle(window.List(), L"", 4));
    EXPECT_TRUE(Cycle(window.List(), L"q", 1).empty());

    const std::optional<ViewCandidate> afterEnd = FindViewCandidate(ReadViewNames(window.List()), 6, L"z");
    ASSERT_TRUE(afterEnd);
    EXPECT_EQ(2, afterEnd->index);
    EXPECT_TRUE(ReadViewNames(nullptr).empty());
    EXPECT_FALSE(FindViewCandidate({}, 0, L""));
}

}  // namespace
