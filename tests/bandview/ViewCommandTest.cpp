#include "ConsoleBand.h"

#include <gtest/gtest.h>

#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using bandview::ConsoleBand;
using bandview::Occurrences;
using bandview::PromptOf;
using bandview::ScratchFolder;
using Names = std::vector<std::wstring>;

// A batch file that announces when the interpreter runs a line starting with its name.
void WriteAnnouncingScript(const ScratchFolder& folder, const std::string& name)
{
    std::ofstream(std::filesystem::path(folder.Path()) / (name + ".cmd")) << "@echo interpreter ran " << name
                                                                          << "\n";
}

// The band's own commands act on the browser window and its folder view.
class ViewCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.Exists());
        docs = folder.Folder(L"Docs");
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.doc", L"d.xls"})
            folder.File(name);
        for (const char* name : {"rel", "sel", "filt"})
            WriteAnnouncingScript(folder, name);
    }

    void Open(standin::BrowserOptions options = {})
    {
        ASSERT_TRUE(console.Open(folder.Path(), options));
        allItems = Items();
    }

    // What the band's own view shows, whichever layout draws it.
    Names Items(standin::ItemState state = standin::ItemState::Any) const
    {
        return console.Browser().ViewItemNames(state);
    }
    Names Selected() const { return Items(standin::ItemState::Selected); }
    Names Focused() const { return Items(standin::ItemState::Focused); }
    bool ViewHasFocus() const
    {
        const HWND view = console.Browser().ViewWindow();
        return ::GetFocus() == view || ::IsChild(view, ::GetFocus());
    }

    // Submits the line and waits for the next prompt, the interpreter's or the band's, of folder.
    bool Run(const std::wstring& line, const std::wstring& promptFolder)
    {
        const size_t position = console.OutputEnd();
        console.Submit(line);
        return console.WaitForPrompts(promptFolder, position, 1);
    }

    // Runs a command through the interpreter: whatever it was still doing is then done.
    bool RoundTrip()
    {
        return Run(L"echo round trip", console.Browser().Folder()) &&
               console.Text().find(L"round trip\r\n") != std::wstring::npos;
    }

    bool InterpreterRan(const std::string& name) const
    {
        const std::string said = "interpreter ran " + name;
        return console.Text().find(std::wstring(said.begin(), said.end())) != std::wstring::npos;
    }

    ScratchFolder folder;
    std::wstring docs;
    mutable ConsoleBand console;
    Names allItems;
};

// The commands that act on the view, in each layout of the browser's folder view.
class ViewCommandInLayout : public ViewCommand, public ::testing::WithParamInterface<standin::ViewLayout> {
protected:
    void OpenInLayout(bool withVirtualItems = false, bool backgroundTab = false)
    {
        standin::BrowserOptions options;
        options.layout = GetParam();
        options.extras.virtualItems = withVirtualItems;
        options.backgroundTab = backgroundTab;
        Open(options);
    }

    bool UsesShellView() const { return !bandview::ShowsVirtualItems(GetParam()); }
};

TEST_F(ViewCommand, CdDotDotMovesBrowserAndInterpreterToTheParent)
{
    const std::wstring inner = folder.Folder(L"Docs\\Inner");
    ASSERT_TRUE(console.Open(inner));
    const size_t position = console.OutputEnd();
    console.Submit(L"cd ..");
    ASSERT_TRUE(console.WaitFor([&] { return console.Browser().Folder() == docs; }));
    EXPECT_EQ(Names{L"file:///" + docs}, console.Browser().NavigationRequests()) << "where the interpreter went";
    ASSERT_TRUE(console.WaitForPrompts(docs, position, 1));
    ASSERT_TRUE(console.WaitFor([&] { return console.Browser().DocumentCompleteCount() == 1; }));
    ASSERT_TRUE(RoundTrip());
    EXPECT_EQ(2, Occurrences(console.Text(), PromptOf(docs), position))
        << "the navigation the console asked for sends the interpreter nothing more";
}

// The browser shows the folder as the interpreter names it, whatever letter case was typed.
TEST_F(ViewCommand, CdInAnyLetterCaseShowsTheFolder)
{
    Open();
    console.Submit(L"CD DoCs");
    ASSERT_TRUE(console.WaitFor([&] { return console.Browser().DocumentCompleteCount() == 1; }));
    EXPECT_EQ(1u, console.Browser().NavigationRequests().size());
    EXPECT_EQ(0, ::lstrcmpiW(docs.c_str(), console.Browser().Folder().c_str())) << console.Browser().Folder();
    EXPECT_TRUE(console.WaitForPrompt(console.Browser().Folder())) << "the interpreter ran the line too";
}

TEST_F(ViewCommand, CdShowsTheFolderNamedEvenWhenTheNameLooksLikeAnEscape)
{
    folder.Folder(L"A #1");
    const std::wstring named = folder.Folder(L"%41 #1");
    Open();
    console.Submit(L"cd \"%41 #1\"");
    ASSERT_TRUE(console.WaitFor([&] { return console.Browser().DocumentCompleteCount() == 1; }));
    EXPECT_EQ(named, console.Browser().Folder());
}

TEST_F(ViewCommand, CdAloneIsLeftToTheInterpreter)
{
    Open();
    for (const wchar_t* line : {L"cd", L"cd   ", L"  cd"}) {
        const size_t position = console.OutputEnd();
        ASSERT_TRUE(Run(line, folder.Path())) << line;
        EXPECT_NE(std::wstring::npos, console.Text().find(folder.Path() + L"\r\n", position))
            << "the interpreter names its folder for " << line;
    }
    EXPECT_TRUE(console.Browser().NavigationRequests().empty());
}

TEST_F(ViewCommand, CdWithDriveSwitchNavigates)
{
    Open();
    ASSERT_TRUE(Run(L"cd /d " + docs, docs));
    ASSERT_TRUE(console.WaitFor([&] { return console.Browser().DocumentCompleteCount() == 1; }));
    EXPECT_EQ(docs, console.Browser().Folder());
}

TEST_F(ViewCommand, CdToAMissingFolderDoesNotNavigate)
{
    Open();
    const size_t position = console.OutputEnd();
    const std::wstring prompt = PromptOf(folder.Path());
    console.Submit(L"cd NoSuchDir");
    // The error comes on the other pipe, before or after the prompt.
    EXPECT_TRUE(console.WaitFor([&] {
        std::wstring said = console.Text().substr(position);
        const size_t promptAt = said.find(prompt);
        if (promptAt == std::wstring::npos)
            return false;
        said.erase(promptAt, prompt.size());
        return said.find_first_not_of(L"\r\n") != std::wstring::npos;
    })) << "the interpreter reports the error in its own words";
    EXPECT_TRUE(console.Browser().NavigationRequests().empty());
    EXPECT_EQ(folder.Path(), console.Browser().Folder());
}

TEST_P(ViewCommandInLayout, RelRefreshesTheWindowAndWritesThePromptItself)
{
    OpenInLayout();
    console.Submit(L"  REL ");
    EXPECT_EQ(1, console.Browser().RefreshCount());
    EXPECT_EQ(PromptOf(folder.Path()) + L"  REL \r\n\r\n" + PromptOf(folder.Path()),
              console.Text().substr(console.OutputEnd() - PromptOf(folder.Path()).size()));
    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    ASSERT_TRUE(RoundTrip());
    EXPECT_FALSE(InterpreterRan("rel"));
}

TEST_P(ViewCommandInLayout, SelSelectsMatchingItemsAndMovesTheFocusToTheView)
{
    OpenInLayout();
    console.Submit(L"sel *.TXT");
    EXPECT_EQ((Names{L"a.txt", L"b.txt"}), Selected());
    EXPECT_EQ(Names{L"a.txt"}, Focused());
    EXPECT_TRUE(ViewHasFocus());
    EXPECT_EQ(1, Occurrences(console.Text(), L"sel *.TXT\r\n\r\n" + PromptOf(folder.Path())))
        << "the band writes the prompt itself";

    ::SetFocus(console.Edit());
    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    console.Submit(L"sel *.zzz");
    EXPECT_TRUE(Selected().empty()) << "the earlier selection is cleared";
    EXPECT_TRUE(console.ConsoleHasFocus());
    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    ASSERT_TRUE(RoundTrip());
    EXPECT_FALSE(InterpreterRan("sel"));
}

TEST_P(ViewCommandInLayout, SelOrFiltAloneGoToTheInterpreter)
{
    OpenInLayout();
    for (const char* word : {"sel", "filt"}) {
        const std::wstring line(word, word + std::char_traits<char>::length(word));
        ASSERT_TRUE(Run(line + L" ", folder.Path()));
        EXPECT_TRUE(console.WaitFor([&] { return InterpreterRan(word); })) << word;
    }
    EXPECT_EQ(allItems, Items());
    EXPECT_EQ(0, console.Browser().RefreshCount());
}

TEST_P(ViewCommandInLayout, FiltKeepsOnlyItemsMatchingOneOfThePatterns)
{
    OpenInLayout();
    console.Submit(L"sel *.txt");
    ::SetFocus(console.Edit());
    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    console.Submit(L"filt *.doc *.xls");
    EXPECT_EQ((Names{L"c.doc", L"d.xls"}), Items());
    EXPECT_TRUE(Selected().empty());
    // A shell view's focus can be moved but not taken away through IFolderView.
    if (!UsesShellView()) {
        EXPECT_TRUE(Focused().empty());
    }
    EXPECT_EQ(0, console.Browser().RefreshCount());
    EXPECT_TRUE(console.ConsoleHasFocus());

    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    console.Submit(L"filt *");
    EXPECT_EQ(1, console.Browser().RefreshCount()) << "nothing removed: the view is shown afresh";
    EXPECT_EQ(allItems, Items());
    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    ASSERT_TRUE(RoundTrip());
    EXPECT_FALSE(InterpreterRan("filt"));
}

TEST_P(ViewCommandInLayout, ItemsWithoutAFileSystemPathAreNeverSelectedNorRemoved)
{
    if (UsesShellView())
        GTEST_SKIP() << "the shell views show only the folder's own items";
    OpenInLayout(true);
    Names fileItems;
    Names virtualItems;
    for (const std::wstring& item : allItems)
        (::GetFileAttributesW((folder.Path() + L"\\" + item).c_str()) != INVALID_FILE_ATTRIBUTES ? fileItems
                                                                                                  : virtualItems)
            .push_back(item);
    ASSERT_FALSE(virtualItems.empty());
    console.Submit(L"sel *");
    EXPECT_EQ(fileItems, Selected());

    ::SetFocus(console.Edit());
    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    console.Submit(L"filt *.txt");
    Names kept = {L"a.txt", L"b.txt"};
    kept.insert(kept.end(), virtualItems.begin(), virtualItems.end());
    EXPECT_EQ(kept, Items());
}

TEST_P(ViewCommandInLayout, TheBackgroundTabIsLeftAlone)
{
    if (!UsesShellView())
        GTEST_SKIP() << "the older views have no tabs";
    OpenInLayout(false, true);
    const Names background = console.Browser().BackgroundItemNames();
    ASSERT_EQ(allItems, background);
    console.Submit(L"sel *.txt");
    EXPECT_EQ((Names{L"a.txt", L"b.txt"}), Selected());
    EXPECT_TRUE(console.Browser().BackgroundItemNames(standin::ItemState::Selected).empty());

    ::SetFocus(console.Edit());
    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    console.Submit(L"filt *.doc");
    EXPECT_EQ(Names{L"c.doc"}, Items());
    EXPECT_EQ(background, console.Browser().BackgroundItemNames());

    ASSERT_TRUE(console.WaitForPrompt(folder.Path()));
    console.Type(L"type ");
    console.PressTab();
    EXPECT_EQ(L"type c.doc", console.Input());
    console.PressTab();
    EXPECT_EQ(L"type c.doc", console.Input()) << "Tab offers only what the band's own tab shows";
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, ViewCommandInLayout, bandview::EveryLayout(), bandview::LayoutName);

}  // namespace
