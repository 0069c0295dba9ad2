#include "SessionTestSupport.h"
#include "shared/HelperPrograms.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using sessiontest::CountOf;
using sessiontest::EndsWith;
using sessiontest::PromptOf;
using sessiontest::SessionTest;

class SessionFollowing : public SessionTest {
protected:
    // The browser shows the folder; waits for the interpreter's prompt there.
    bool Follow(const std::wstring& target)
    {
        const size_t before = CountOf(Text(), PromptOf(target));
        Show(target);
        return WaitForPrompt(target, before + 1);
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
TEST_F(SessionFollowing, InterpreterFollowsAcrossFoldersDrivesAndRoots)
{
    const std::wstring sub = folder.Folder(L"sub");
    const std::wstring deeper = elsewhere.Folder(L"deeper");
    const std::wstring steps[] = {sub, deeper, elsewhere.Path(), L"Z:\\", L"C:\\", folder.Path()};
    for (const std::wstring& step : steps) {
        const size_t from = Text().size();
        ASSERT_TRUE(Follow(step)) << Text();
        EXPECT_EQ(QuietMoveTo(step), Since(from));
    }
    EXPECT_EQ(edit, ::GetFocus()) << "each folder shown moves the focus into the console";
}

// A host that keeps the focus where it is (a console docked beside another program's window)
// is followed all the same.
TEST_F(SessionFollowing, FolderIsFollowedWithoutTakingTheFocusWhereTheHostSaysNo)
{
    frame.mayTakeFocus = false;
    ::SetFocus(frame.window.Get());
    ASSERT_TRUE(Follow(folder.Folder(L"sub"))) << Text();
    EXPECT_EQ(frame.window.Get(), ::GetFocus());
}

// The interpreter expands only a "%" that pairs with another on its line: a folder with one "%"
// is entered as it is, one whose "%"s could pair is not (Wine keeps no short names to stand in).
TEST_F(SessionFollowing, FolderWithALonePercentIsEnteredAndAPairIsNot)
{
    const std::wstring lone = folder.Folder(L"100% done");
    ASSERT_TRUE(Follow(lone)) << Text();
    const std::wstring paired = folder.Folder(L"%windir%");
    const size_t from = Text().size();
    Show(paired);
    ASSERT_TRUE(WaitForPrompt(lone, 2)) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"The console cannot enter", from)) << Text();
}

// A drive switch that the interpreter could not make is not taken for done: the next folder on
// that drive still brings the interpreter over.
TEST_F(SessionFollowing, FailedDriveSwitchIsMadeAgainByTheNextFolderOnThatDrive)
{
    const std::wstring vanished = elsewhere.Folder(L"vanished");
    ASSERT_TRUE(::RemoveDirectoryW(vanished.c_str()));
    Show(vanished);
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) { return CountOf(text, PromptOf(folder.Path())) >= 2; }))
        << "the interpreter stays where it was: " << Text();

    const std::wstring reached = elsewhere.Folder(L"reached");
    ASSERT_TRUE(Follow(reached)) << Text();
    ASSERT_TRUE(Run(L"echo marker", reached));
}

// The new folder's prompt arrives in front of what the user was typing.
TEST_F(SessionFollowing, HalfTypedInputSurvivesANavigation)
{
    const std::wstring sub = folder.Folder(L"sub");
    Type(L"half typed");
    Show(sub);
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) { return EndsWith(text, PromptOf(sub) + L"half typed"); }))
        << Text();
    EXPECT_EQ(1u, CountOf(Text(), L"half typed")) << Text();
}

// A place outside the file system is named in the transcript; the line being typed stays, and
// nothing goes to the interpreter, which stays where it was.
TEST_F(SessionFollowing, LocationOutsideTheFileSystemIsNamedAndTheTypedLineStays)
{
    Type(L"half typed");
    Show(std::nullopt);
    ASSERT_TRUE(WaitForText([&](const std::wstring& text) {
        return EndsWith(text, L"\r\nUnknown Path\r\n\r\n" + PromptOf(folder.Path()) + L"half typed");
    })) << Text();

    // Nothing was sent: going back to a folder gets exactly one answer, on the same drive.
    const std::wstring sub = folder.Folder(L"back");
    Press(VK_ESCAPE);
    const size_t from = Text().size();
    ASSERT_TRUE(Follow(sub)) << Text();
    EXPECT_EQ(QuietMoveTo(sub), Since(from));
}

// A folder the interpreter cannot start in leaves a console that says so, and the next folder the
// browser shows starts it.
TEST_F(SessionFollowing, AnInterpreterThatCannotStartIsSaidAndStartsInTheNextFolder)
{
    console.reset();
    const std::wstring gone = folder.Path() + L"\\gone";
    browser.shown = gone;
    StartConsole();
    ASSERT_TRUE(WaitForPrompt(gone)) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"The console could not start cmd.exe: the folder \"" + gone + L"\" does not exist."))
        << Text();

    Submit(L"echo waited");
    EXPECT_NE(std::wstring::npos, Text().find(L"\r\nNot sent: cmd.exe is not running. It starts again when the window shows another folder.\r\n"))
        << Text();
    EXPECT_EQ(L"echo waited", InputAfterPrompt(gone)) << "the line stays on the command line";

    Show(folder.Path());
    ASSERT_TRUE(WaitForText([&](const std::wstring&) { return InputAfterPrompt(folder.Path()) == L"echo waited"; })) << Text();
    ASSERT_TRUE(Run(L"", folder.Path())) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"\r\nwaited\r\n")) << Text();
}

// The browser completes the console's own navigation while the console is still asking for it:
// the report waits for the console's call to return, and the "cd" is not sent a second time.
TEST_F(SessionFollowing, ConsoleCdMovesTheBrowserAndIsNotSentTwice)
{
    const std::wstring sub = folder.Folder(L"sub");
    Submit(L"cd sub");
    ASSERT_TRUE(WaitForPrompt(sub)) << Text();
    EXPECT_EQ(std::vector<std::wstring>{sub}, browser.navigations);

    ASSERT_TRUE(Run(L"echo marker", sub));
    EXPECT_EQ(2u, CountOf(Text(), PromptOf(sub))) << "one prompt per command: " << Text();
}

// A host of several browsers (the tabs of one window) brings up another while the console's own
// navigation is still under way: the folder shown then is the user's, and the interpreter goes there.
TEST_F(SessionFollowing, AnotherBrowserBroughtUpDuringTheConsolesNavigationIsFollowed)
{
    const std::wstring sub = folder.Folder(L"sub");
    browser.showsNavigations = false;
    Submit(L"cd sub");
    ASSERT_TRUE(WaitFor([&] { return !browser.navigations.empty(); })) << Text();
    ASSERT_TRUE(WaitForPrompt(sub)) << Text();

    browser.shown = elsewhere.Path();
    console->OtherBrowserShown();
    EXPECT_TRUE(WaitForPrompt(elsewhere.Path())) << Text();
}

// The browser goes where the interpreter really went: a "cd" to another drive without the drive
// switch leaves the interpreter on its drive, as in any console, and the browser with it.
TEST_F(SessionFollowing, ConsoleCdToAnotherDriveMovesOnlyWithTheDriveSwitch)
{
    ASSERT_TRUE(Run(L"cd " + elsewhere.Path(), folder.Path())) << Text();
    EXPECT_TRUE(browser.navigations.empty());

    ASSERT_TRUE(Run(L"cd /d " + elsewhere.Path(), elsewhere.Path())) << Text();
    EXPECT_EQ(std::vector<std::wstring>{elsewhere.Path()}, browser.navigations);
    ASSERT_TRUE(Run(L"echo marker", elsewhere.Path()));
    EXPECT_EQ(2u, CountOf(Text(), PromptOf(elsewhere.Path()))) << "one prompt per command: " << Text();
}

// A program the interpreter runs reads the interpreter's input: a folder shown meanwhile must not
// become that program's input. The interpreter follows once the program has ended.
TEST_F(SessionFollowing, FolderShownWhileAProgramRunsIsFollowedOnceItEnds)
{
    const std::wstring second = folder.Folder(L"Second Folder");
    const std::wstring third = folder.Folder(L"third");
    Submit(sessiontest::HelperCommand(L"ReadOneLine"));
    ASSERT_TRUE(WaitForText([](const std::wstring& text) { return text.find(L"reading one line") != std::wstring::npos; }))
        << Text();
    Show(second);
    Show(third);

    Submit(L"typed for the program");
    ASSERT_TRUE(WaitForPrompt(third)) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"the program read [typed for the program]")) << Text();
    EXPECT_EQ(1u, CountOf(Text(), PromptOf(third))) << Text();
    EXPECT_EQ(0u, CountOf(Text(), PromptOf(second))) << Text();
}

// The interpreter's own "set /p" and "pause" read the next line as well: a folder shown meanwhile
// is followed after the user's answer, which the command gets whole.
TEST_F(SessionFollowing, FolderShownWhileTheInterpreterAsksForALineIsFollowedAfterTheAnswer)
{
    const std::wstring sub = folder.Folder(L"sub");
    Submit(L"set /p answer=Your name? ");
    ASSERT_TRUE(WaitForText([](const std::wstring& text) { return EndsWith(text, L"Your name? "); })) << Text();
    Show(sub);

    Submit(L"Ann");
    ASSERT_TRUE(WaitForPrompt(sub)) << Text();
    ASSERT_TRUE(Run(L"echo [%answer%]", sub)) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"[Ann]")) << Text();
}

// The interpreter says where it is at every prompt, however it got there: the browser follows
// "pushd", "popd", variables, chains, batch files and drive letters alike.
TEST_F(SessionFollowing, BrowserFollowsWhereverTheInterpreterWent)
{
    const std::wstring sub = folder.Folder(L"sub");
    const std::wstring deeper = folder.Folder(L"sub\\deeper");
    folder.File(L"go.bat", "@cd sub\\deeper\r\n");
    const std::pair<std::wstring, std::wstring> steps[] = {
        {L"pushd sub", sub},
        {L"popd", folder.Path()},
        {L"set TARGET=" + deeper, folder.Path()},
        {L"cd %TARGET%", deeper},
        {L"cd .. & echo done", sub},
        {L"cd ..", folder.Path()},
        {L"call go.bat", deeper},
        {L"cd " + elsewhere.Path(), deeper},
        {L"Z:", elsewhere.Path()},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(Run(step.first, step.second)) << step.first << "\n" << Text();
        ASSERT_TRUE(WaitFor([&] { return browser.shown == step.second; })) << step.first;
    }
    EXPECT_EQ(std::wstring::npos, Text().find(L"cd /d")) << "the console sent nothing of its own: " << Text();
}

// A batch file asking a question runs inside the interpreter: a folder shown meanwhile is no
// answer. The user's answer reaches the batch file, and the interpreter follows once it ended.
TEST_F(SessionFollowing, FolderShownWhileABatchFileAsksWaitsForItsEnd)
{
    const std::wstring sub = folder.Folder(L"sub");
    folder.File(L"ask.bat", "@set /p ANSWER=Name? \r\n@echo [%ANSWER%]\r\n");
    Submit(L"ask");
    ASSERT_TRUE(WaitForText([](const std::wstring& text) { return EndsWith(text, L"Name? "); })) << Text();
    Show(sub);
    Submit(L"Ann");
    ASSERT_TRUE(WaitForPrompt(sub)) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"[Ann]")) << Text();
    EXPECT_EQ(std::wstring::npos, Text().find(L"[cd /d")) << Text();
}

// A user who sets a prompt of their own gets it; the console then follows typed "cd" lines again.
TEST_F(SessionFollowing, APromptOfTheUsersOwnKeepsTypedCdFollowed)
{
    const std::wstring sub = folder.Folder(L"sub");
    ASSERT_TRUE(Run(L"prompt $P$G", folder.Path()));
    ASSERT_TRUE(Run(L"cd sub", sub));
    EXPECT_TRUE(WaitFor([&] { return browser.shown == sub; }));
}

// Lines typed while a program runs go one at a time, so that every one of them runs, in order,
// whoever reads them.
TEST_F(SessionFollowing, EveryLineTypedAheadRunsInOrder)
{
    Submit(sessiontest::HelperCommand(L"Pause"));
    Submit(L"echo first-ahead");
    Submit(L"echo second-ahead");
    // Each line shows where it was typed, and once more as its output.
    ASSERT_TRUE(WaitForText([](const std::wstring& text) { return CountOf(text, L"second-ahead\r\n") == 2; })) << Text();
    EXPECT_LT(Text().rfind(L"first-ahead\r\n"), Text().rfind(L"second-ahead\r\n")) << Text();
    EXPECT_TRUE(WaitForPrompt(folder.Path(), 3)) << Text();
}

// A pasted line end is Enter: each line runs on its own, the console's own commands and "cd"
// following included, and what follows the last line end stays on the command line.
TEST_F(SessionFollowing, EachPastedLineRunsOnItsOwn)
{
    const std::wstring sub = folder.Folder(L"sub");
    browser.view = std::make_shared<sessiontest::FakeView>();
    browser.view->namesByIndex = {L"a.txt", L"b.txt"};
    ASSERT_TRUE(Paste(L"sel a.txt\r\necho second-line-ran\r\ncd sub\necho after-cd\nhalf"));
    // Each line shows where it was typed, and once more as its output.
    ASSERT_TRUE(WaitForText([](const std::wstring& text) { return CountOf(text, L"after-cd\r\n") == 2; })) << Text();
    EXPECT_EQ(std::vector<int>{0}, browser.view->selected);
    EXPECT_EQ(2u, CountOf(Text(), L"second-line-ran\r\n")) << Text();
    EXPECT_TRUE(WaitFor([&] { return browser.shown == sub; }));
    EXPECT_TRUE(WaitForText([&](const std::wstring&) { return InputAfterPrompt(sub) == L"half"; })) << Text();
}

// Run by the interpreter in the console's tests, never on its own.
TEST(SessionHelper, DISABLED_Pause)
{
    ::Sleep(1500);
}

// Run by the interpreter in the console's tests, never on its own.
TEST(SessionHelper, DISABLED_ReadOneLine)
{
    testsupport::ReadOneLineAndSayIt();
}

}  // namespace
