#include "ConsoleBand.h"

#include "FileListDataObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace {

using bandview::ConsoleBand;
using bandview::ScratchFolder;

std::wstring LowerCase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

// Files dropped on the console become names on the command line.
class FileDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shown.Exists());
        ASSERT_TRUE(elsewhere.Exists());
        ASSERT_TRUE(console.Open(shown.Path()));
    }

    std::wstring Drop(const std::vector<std::wstring>& paths)
    {
        outcome = console.Browser().DropFilesOnBand(paths);
        return console.Input();
    }

    ScratchFolder shown;
    ScratchFolder elsewhere;
    ConsoleBand console;
    standin::DropOutcome outcome;
};

TEST_F(FileDrop, FileOfTheShownFolderBecomesItsBareNameAndTheConsoleTakesTheFocus)
{
    const std::wstring file = shown.File(L"a.txt");
    ::SetFocus(console.Browser().ListView());
    EXPECT_EQ(L"a.txt", Drop({file}));
    EXPECT_TRUE(console.ConsoleHasFocus());
    EXPECT_EQ(DROPEFFECT_LINK, outcome.enterEffect);
    EXPECT_EQ(DROPEFFECT_LINK, outcome.overEffect);
    ASSERT_TRUE(outcome.dropped);
    EXPECT_EQ(S_OK, outcome.dropResult);
    EXPECT_EQ(DROPEFFECT_LINK, outcome.dropEffect);
    EXPECT_TRUE(console.OutputUnchanged()) << "a drop sends nothing to the interpreter";
}

TEST_F(FileDrop, FileOfAnotherFolderKeepsItsFullPath)
{
    const std::wstring file = elsewhere.File(L"a.txt");
    EXPECT_EQ(file, Drop({file}));
}

TEST_F(FileDrop, FolderIsComparedWithoutRegardToLetterCase)
{
    const std::wstring file = shown.File(L"Notes.TXT");
    EXPECT_EQ(L"notes.txt", Drop({LowerCase(file)}));
}

TEST_F(FileDrop, NamesWithSpacesAreQuoted)
{
    const std::wstring here = shown.File(L"my notes.txt");
    const std::wstring there = elsewhere.File(L"my notes.txt");
    EXPECT_EQ(L"\"my notes.txt\" \"" + there + L"\"", Drop({here, there}));
}

TEST_F(FileDrop, SeveralFilesAreSeparatedBySingleSpaces)
{
    const std::wstring a = shown.File(L"a.txt");
    const std::wstring b = shown.File(L"b.txt");
    const std::wstring c = elsewhere.File(L"c.txt");
    EXPECT_EQ(L"a.txt b.txt " + c, Drop({a, b, c}));
}

TEST_F(FileDrop, NamesFollowWhatWasTypedWithOneSpaceBetween)
{
    const std::wstring a = shown.File(L"a.txt");
    console.Type(L"copy");
    EXPECT_EQ(L"copy a.txt", Drop({a}));
    console.Type(L" ");
    EXPECT_EQ(L"copy a.txt a.txt", Drop({a}));
}

TEST_F(FileDrop, FolderIsTreatedLikeAFile)
{
    const std::wstring here = shown.Folder(L"Docs");
    const std::wstring there = elsewhere.Folder(L"Docs");
    EXPECT_EQ(L"Docs " + there, Drop({here, there}));
}

TEST_F(FileDrop, LongPathIsInsertedWhole)
{
    const std::wstring longName(150, L'n');
    const std::wstring deep = elsewhere.Path() + L"\\" + longName + L"\\" + longName + L".txt";
    ASSERT_GT(deep.size(), 300u);
    const std::wstring longHere = shown.Path() + L"\\" + longName + longName + L".txt";
    EXPECT_EQ(deep + L" " + longName + longName + L".txt", Drop({deep, longHere}));
}

TEST_F(FileDrop, DataWithoutAFileListInsertsNothingAndIsRefused)
{
    console.Type(L"copy ");
    ::SetFocus(console.Browser().ListView());
    outcome = console.Browser().DropOnBand(*standin::FileListDataObject::WithoutFiles().Get());
    EXPECT_EQ(S_OK, outcome.enterResult);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), outcome.enterEffect);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), outcome.overEffect);
    EXPECT_FALSE(outcome.dropped);
    EXPECT_EQ(L"copy ", console.Input());
    EXPECT_FALSE(console.ConsoleHasFocus());
}

TEST_F(FileDrop, RootOfCIsTheShownFolderWhenTheBrowserShowsNoFolder)
{
    console.Browser().ShowVirtualFolder(L"shell:ControlPanelFolder");
    ASSERT_TRUE(console.WaitFor([&] { return console.Browser().DocumentCompleteCount() == 1; }));
    ASSERT_TRUE(console.WaitFor([&] { return console.Text().find(L"\r\nUnknown Path\r\n") != std::wstring::npos; }));
    ASSERT_TRUE(console.WaitForPrompt(shown.Path())) << "the console stays where it was";
    EXPECT_EQ(L"boot.ini " + elsewhere.Path(), Drop({L"C:\\boot.ini", elsewhere.Path()}));
}

}  // namespace
