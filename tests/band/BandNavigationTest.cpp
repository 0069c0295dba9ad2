#include "BandTestSupport.h"

#include <algorithm>
#include <string>

namespace {

using bandtest::BandInBrowser;
using bandtest::CountOf;
using bandtest::EndsWith;
using bandtest::PromptOf;

class BandNavigation : public BandInBrowser {
protected:
    // Navigates the browser and waits for the interpreter's prompt in the folder.
    bool Follow(const std::wstring& target, const std::wstring& promptFolder)
    {
        const size_t before = CountOf(Text(), PromptOf(promptFolder));
        return window.NavigateTo(target) == S_OK && WaitForPrompt(promptFolder, before + 1);
    }

    // What the interpreter printed after `from` characters.
    std::wstring Since(size_t from) const { return Text().substr(from); }

    // A change of folder that the interpreter took prints nothing but its next prompt; one it
    // refused would print an error and the old folder's prompt.
    std::wstring QuietMoveTo(const std::wstring& promptFolder) const { return L"\r\n" + PromptOf(promptFolder); }
};

// The interpreter does not echo what it reads from its pipe, so its prompt tells where each
// command took it: a folder on another drive is reached only with the drive switch, and a root
// only with its backslash (without it the drive's current folder would stay).
TEST_F(BandNavigation, InterpreterFollowsAcrossFoldersDrivesAndRoots)
{
    const std::wstring sub = folder.Folder(L"sub");
    const std::wstring deeper = elsewhere.Folder(L"deeper");
    const std::wstring steps[] = {sub, deeper, elsewhere.Path(), L"Z:\\", L"C:\\", folder.Path()};
    for (const std::wstring& step : steps) {
        const size_t from = Text().size();
        ASSERT_TRUE(Follow(step, step)) << Text();
        EXPECT_EQ(QuietMoveTo(step), Since(from));
    }
    EXPECT_EQ(edit, ::GetFocus()) << "each folder shown moves the focus into the console";
}

// A drive switch that the interpreter could not make is not taken for done: the next folder on
// that drive still brings the interpreter over.
TEST_F(BandNavigation, FailedDriveSwitchIsMadeAgainByTheNextFolderOnThatDrive)
{
    const std::wstring vanished = elsewhere.Folder(L"vanished");
    ASSERT_EQ(S_OK, window.NavigateTo(vanished));
    ASSERT_TRUE(::RemoveDirectoryW(vanished.c_str()));
    ASSERT_TRUE(WaitForDocumentComplete(1));
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) { return CountOf(text, PromptOf(folder.Path())) >= 2; }))
        << "the interpreter stays where it was: " << Text();

    const std::wstring reached = elsewhere.Folder(L"reached");
    ASSERT_TRUE(Follow(reached, reached)) << Text();
    ASSERT_TRUE(Run(L"echo marker", reached));
}

TEST_F(BandNavigation, FolderWithSpacesIsReached)
{
    const std::wstring spaced = folder.Folder(L"with some spaces");
    const size_t from = Text().size();
    std::wstring address = L"file:///" + folder.Path() + L"/with%20some%20spaces";
    std::replace(address.begin(), address.end(), L'\\', L'/');
    ASSERT_TRUE(Follow(address, spaced)) << Text();
    EXPECT_EQ(QuietMoveTo(spaced), Since(from));
}

// The new folder's prompt arrives in front of what the user was typing.
TEST_F(BandNavigation, HalfTypedInputSurvivesANavigation)
{
    const std::wstring sub = folder.Folder(L"sub");
    window.TypeText(edit, L"half typed");
    ASSERT_EQ(S_OK, window.NavigateTo(sub));
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) { return EndsWith(text, PromptOf(sub) + L"half typed"); }))
        << Text();
    EXPECT_EQ(1u, CountOf(Text(), L"half typed")) << Text();
}

TEST_F(BandNavigation, LocationOutsideTheFileSystemIsTypedAsUnknownPath)
{
    window.TypeText(edit, L"half typed");
    ::SetFocus(window.AddressField());
    const std::vector<DWORD> interpreters = bandtest::RunningInterpreters();

    window.ShowWebPage(L"http://example.com/");
    ASSERT_TRUE(WaitForDocumentComplete(1));

    EXPECT_EQ(L"Unknown Path", InputAfterPrompt(folder.Path()));
    EXPECT_EQ(window.AddressField(), ::GetFocus());
    EXPECT_EQ(interpreters, bandtest::RunningInterpreters());

    // Nothing was sent: going back to a folder gets exactly one answer, on the same drive.
    const std::wstring sub = folder.Folder(L"back");
    const size_t from = Text().size() - std::wstring(L"Unknown Path").size();
    ASSERT_TRUE(Follow(sub, sub)) << Text();
    EXPECT_EQ(QuietMoveTo(sub), Since(from));
}

TEST_F(BandNavigation, ConsoleCdMovesTheBrowserAndIsNotSentTwice)
{
    const std::wstring sub = folder.Folder(L"sub");
    Submit(L"cd sub");
    ASSERT_TRUE(WaitForDocumentComplete(1));
    EXPECT_EQ(sub, window.Folder());
    ASSERT_TRUE(WaitForPrompt(sub)) << Text();

    ASSERT_TRUE(Run(L"echo marker", sub));
    EXPECT_EQ(2u, CountOf(Text(), PromptOf(sub))) << "one prompt per command: " << Text();
}

TEST_F(BandNavigation, ConsoleCdToAnotherDriveBringsTheInterpreterAlong)
{
    Submit(L"cd " + elsewhere.Path());
    ASSERT_TRUE(WaitForDocumentComplete(1));
    EXPECT_EQ(elsewhere.Path(), window.Folder());
    ASSERT_TRUE(WaitForPrompt(elsewhere.Path())) << Text();

    ASSERT_TRUE(Run(L"echo marker", elsewhere.Path()));
    EXPECT_EQ(2u, CountOf(Text(), PromptOf(elsewhere.Path()))) << Text();
}

TEST_F(BandNavigation, ConsoleCdWithDriveSwitchIsNotRepeated)
{
    Submit(L"cd /d " + elsewhere.Path());
    ASSERT_TRUE(WaitForDocumentComplete(1));
    ASSERT_TRUE(WaitForPrompt(elsewhere.Path())) << Text();

    ASSERT_TRUE(Run(L"echo marker", elsewhere.Path()));
    EXPECT_EQ(2u, CountOf(Text(), PromptOf(elsewhere.Path()))) << Text();
}

// A program the interpreter runs reads the interpreter's input: a folder shown meanwhile must not
// become that program's input. The interpreter follows once the program has ended.
TEST_F(BandNavigation, FolderShownWhileAProgramRunsIsFollowedOnceItEnds)
{
    const std::wstring second = folder.Folder(L"Second Folder");
    const std::wstring third = folder.Folder(L"third");
    Submit(bandtest::HelperCommand(L"ReadOneLine"));
    ASSERT_TRUE(WaitForText([](const std::wstring& text) { return text.find(L"reading one line") != std::wstring::npos; }))
        << Text();
    ASSERT_EQ(S_OK, window.NavigateTo(second));
    ASSERT_EQ(S_OK, window.NavigateTo(third));
    ASSERT_TRUE(WaitForDocumentComplete(2));

    Submit(L"typed for the program");
    ASSERT_TRUE(WaitForPrompt(third)) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"the program read [typed for the program]")) << Text();
    EXPECT_EQ(1u, CountOf(Text(), PromptOf(third))) << Text();
    EXPECT_EQ(0u, CountOf(Text(), PromptOf(second))) << Text();
}

// The interpreter's own "set /p" and "pause" read the next line as well: a folder shown meanwhile
// is followed after the user's answer, which the command gets whole.
TEST_F(BandNavigation, FolderShownWhileTheInterpreterAsksForALineIsFollowedAfterTheAnswer)
{
    const std::wstring sub = folder.Folder(L"sub");
    Submit(L"set /p answer=Your name? ");
    ASSERT_TRUE(WaitForText([](const std::wstring& text) { return EndsWith(text, L"Your name? "); })) << Text();
    ASSERT_EQ(S_OK, window.NavigateTo(sub));
    ASSERT_TRUE(WaitForDocumentComplete(1));

    Submit(L"Ann");
    ASSERT_TRUE(WaitForPrompt(sub)) << Text();
    ASSERT_TRUE(Run(L"echo [%answer%]", sub)) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"[Ann]")) << Text();
}

// Run by the interpreter in the band's tests, never on its own: reads one line of its input and
// says what it read.
TEST(BandHelper, DISABLED_ReadOneLine)
{
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    const std::string reading = "reading one line\r\n";
    ::WriteFile(output, reading.data(), static_cast<DWORD>(reading.size()), &written, nullptr);
    std::string line;
    char character = 0;
    DWORD read = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &character, 1, &read, nullptr) && read == 1 &&
           character != '\n')
        if (character != '\r')
            line += character;
    const std::string answer = "the program read [" + line + "]\r\n";
    ::WriteFile(output, answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr);
}

}  // namespace
