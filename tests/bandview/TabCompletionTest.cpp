#include "ConsoleBand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using bandview::ConsoleBand;
using bandview::ScratchFolder;
using standin::ViewLayout;

// Tab completes from the names the folder view shows, in the view's order, in every layout: the
// platform's shell view and the items view reached through the shell browser, and the older
// list-control views found by their windows.
class TabCompletion : public ::testing::TestWithParam<ViewLayout> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.Exists());
        folder.File(L"Readme.txt");
        folder.File(L"report.doc");
        folder.File(L"Zeta");
    }

    void Open(bool withOtherItems = false)
    {
        standin::BrowserOptions options;
        options.layout = GetParam();
        if (withOtherItems) {
            options.extras.virtualItems = true;
            options.extras.syntheticItems = 2;
        }
        ASSERT_TRUE(console.Open(folder.Path(), options));
    }

    // The command line after each of the presses.
    std::vector<std::wstring> InputsAfterTabs(int presses)
    {
        std::vector<std::wstring> inputs;
        for (int press = 0; press < presses; ++press) {
            console.PressTab();
            inputs.push_back(console.Input());
        }
        return inputs;
    }

    ScratchFolder folder;
    ConsoleBand console;
};

TEST_P(TabCompletion, CyclesThroughMatchingNamesInViewOrderAndWrapsAround)
{
    Open();
    console.Type(L"type re");
    const std::vector<std::wstring> expected = {L"type Readme.txt", L"type report.doc", L"type Readme.txt"};
    EXPECT_EQ(expected, InputsAfterTabs(3));
    EXPECT_EQ(static_cast<int>(console.Input().size()), console.CaretInInput()) << "the caret ends at the end";
    EXPECT_TRUE(console.OutputUnchanged()) << "completion sends nothing to the interpreter";
}

TEST_P(TabCompletion, EmptyWordOffersEveryItemInTurn)
{
    Open();
    console.Type(L"type ");
    const std::vector<std::wstring> afterSpace = {L"type Readme.txt", L"type report.doc", L"type Zeta",
                                                  L"type Readme.txt"};
    EXPECT_EQ(afterSpace, InputsAfterTabs(4));

    for (size_t length = console.Input().size(); length > 0; --length)
        console.Press(VK_BACK);
    ASSERT_EQ(L"", console.Input());
    const std::vector<std::wstring> fromEmpty = {L"Readme.txt", L"report.doc"};
    EXPECT_EQ(fromEmpty, InputsAfterTabs(2));
}

// Each browser window keeps its own cycle: one in another window does not change where this one goes on.
TEST_P(TabCompletion, CycleInAnotherWindowLeavesThisWindowsCycleAlone)
{
    Open();
    ConsoleBand other;
    standin::BrowserOptions options;
    options.layout = GetParam();
    ASSERT_TRUE(other.Open(folder.Path(), options));
    const auto tabIn = [](ConsoleBand& band) {
        ::SetFocus(band.Edit());
        band.PressTab();
        return band.Input();
    };
    ::SetFocus(console.Edit());
    console.Type(L"type re");
    ASSERT_EQ(L"type Readme.txt", tabIn(console));

    ::SetFocus(other.Edit());
    other.Type(L"copy ze");
    ASSERT_EQ(L"copy Zeta", tabIn(other));

    EXPECT_EQ(L"type report.doc", tabIn(console));
    EXPECT_EQ(L"copy Zeta", tabIn(other));
}

TEST_P(TabCompletion, NameWithASpaceIsQuoted)
{
    folder.Folder(L"My Documents");
    Open();
    console.Type(L"cd my");
    console.PressTab();
    EXPECT_EQ(L"cd \"My Documents\"", console.Input());
}

TEST_P(TabCompletion, OpeningQuotationMarkQuotesEveryResultOfTheCycle)
{
    Open();
    console.Type(L"type \"re");
    const std::vector<std::wstring> expected = {L"type \"Readme.txt\"", L"type \"report.doc\""};
    EXPECT_EQ(expected, InputsAfterTabs(2));
}

TEST_P(TabCompletion, TextAfterTheCaretIsDropped)
{
    Open();
    console.Type(L"type re --more");
    for (int step = 0; step < 7; ++step)
        console.Press(VK_LEFT);
    ASSERT_EQ(7, console.CaretInInput());
    console.PressTab();
    EXPECT_EQ(L"type Readme.txt", console.Input());
}

TEST_P(TabCompletion, CaretInTheOutputLeavesEverythingAsItWas)
{
    Open();
    console.Type(L"type re");
    ::SendMessageW(console.Edit(), EM_SETSEL, 0, 0);
    console.PressTab();
    console.PressCtrlTab();
    EXPECT_EQ(L"type re", console.Input());
    EXPECT_TRUE(console.OutputUnchanged());
}

TEST_P(TabCompletion, LeadingSpaceIsNotPartOfTheWord)
{
    Open();
    console.Type(L" zE");
    console.PressTab();
    EXPECT_EQ(L" Zeta", console.Input());
}

TEST_P(TabCompletion, WordWithoutMatchLeavesTheInputAndIsSearchedAgainNextTime)
{
    Open();
    console.Type(L"type zz");
    EXPECT_EQ(L"type zz", InputsAfterTabs(2).back());
    EXPECT_TRUE(console.OutputUnchanged());

    folder.File(L"zzTop.txt");
    console.Browser().Browser()->Refresh();
    console.PressTab();
    EXPECT_EQ(L"type zzTop.txt", console.Input());
}

TEST_P(TabCompletion, CtrlTabCompletesFromTheDiskWhatTheViewDoesNotShow)
{
    Open();
    folder.File(L"Zebra.txt");
    console.Type(L"type zeb");
    console.PressTab();
    EXPECT_EQ(L"type zeb", console.Input()) << "Tab offers only what the view shows";
    console.PressCtrlTab();
    EXPECT_EQ(L"type Zebra.txt", console.Input());
}

TEST_P(TabCompletion, TypingAfterACompletionStartsANewCycle)
{
    Open();
    console.Type(L"type re");
    console.PressTab();
    ASSERT_EQ(L"type Readme.txt", console.Input());
    console.Type(L" z");
    console.PressTab();
    EXPECT_EQ(L"type Readme.txt Zeta", console.Input());
    console.PressTab();
    EXPECT_EQ(L"type Readme.txt Zeta", console.Input()) << "Zeta is the only match of the new word";
}

TEST_P(TabCompletion, ItemsWithoutAFileSystemPathAreSkipped)
{
    if (!bandview::ShowsVirtualItems(GetParam()))
        GTEST_SKIP() << "the shell views show only the folder's own items";
    Open(true);
    console.Type(L"type ");
    const std::vector<std::wstring> expected = {L"type Readme.txt", L"type report.doc", L"type Zeta",
                                                L"type synthetic000001.txt", L"type synthetic000002.txt",
                                                L"type Readme.txt"};
    EXPECT_EQ(expected, InputsAfterTabs(6));
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, TabCompletion, bandview::EveryLayout(), bandview::LayoutName);

}  // namespace
