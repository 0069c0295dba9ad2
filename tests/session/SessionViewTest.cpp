#include "SessionTestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using sessiontest::CountOf;
using sessiontest::EndsWith;
using sessiontest::FakeView;
using sessiontest::PromptOf;
using sessiontest::SessionTest;

using Indexes = std::vector<int>;
using Names = std::vector<std::wstring>;

// A sorted view: its index order differs from the order it shows, and one item has no file-system name.
class SessionView : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        view = std::make_shared<FakeView>();
        view->namesByIndex = {L"zeta.txt", L"alpha.doc", L"", L"beta.txt", L"gamma.xls"};
        view->viewOrder = {1, 3, 4, 0, 2};
        browser.view = view;
    }

    // Presses Tab and gives the command line as it then stands.
    std::wstring Tab()
    {
        Press(VK_TAB);
        return InputAfterPrompt(folder.Path());
    }

    std::shared_ptr<FakeView> view;
};

// Tab offers the names in the order the user sees them, wraps around, and passes over the nameless item.
TEST_F(SessionView, TabCyclesThroughTheShownOrderAndWraps)
{
    Type(L"type ");
    EXPECT_EQ(L"type alpha.doc", Tab());
    EXPECT_EQ(L"type beta.txt", Tab());
    EXPECT_EQ(L"type gamma.xls", Tab());
    EXPECT_EQ(L"type zeta.txt", Tab());
    EXPECT_EQ(L"type alpha.doc", Tab());
}

// A name the interpreter could not read as it is, with no short name to stand in, is not put on the
// command line: one line says why, and the line typed stays.
TEST_F(SessionView, TabRefusesANameTheInterpreterCannotBeGiven)
{
    view->namesByIndex = {L"\x65e5\x672c.txt"};
    view->viewOrder.clear();
    Type(L"type ");
    EXPECT_EQ(L"type ", Tab());
    EXPECT_NE(std::wstring::npos, Text().find(L"\r\nNot put on the console's command line: \"" + folder.Path() +
                                              L"\\\x65e5\x672c.txt\""))
        << Text();
    EXPECT_EQ(2u, CountOf(Text(), PromptOf(folder.Path()))) << "a prompt of the console's own follows the line";
}

// "sel" selects by the view's own index, hands the view the focus only when something was selected,
// and sends nothing to the interpreter.
TEST_F(SessionView, SelSelectsByIndexAndFocusesTheViewOnlyForAMatch)
{
    ASSERT_TRUE(Run(L"sel *.txt", folder.Path()));
    EXPECT_EQ((Indexes{0, 3}), view->selected);
    EXPECT_EQ(1, view->focusTaken);

    ASSERT_TRUE(Run(L"sel *.zzz", folder.Path()));
    EXPECT_TRUE(view->selected.empty());
    EXPECT_EQ(1, view->focusTaken);
    EXPECT_EQ(std::wstring::npos, Text().find(L"is not recognized")) << Text();
}

// "filt" hides what matches no pattern, last index first; hiding nothing refreshes the browser,
// which brings back what earlier filters hid.
TEST_F(SessionView, FiltHidesTheRestFromTheLastAndRefreshesWhenNothingIsHidden)
{
    ASSERT_TRUE(Run(L"filt *.txt", folder.Path()));
    EXPECT_EQ((std::vector<Indexes>{{4, 1}}), view->removals);
    EXPECT_EQ((Names{L"zeta.txt", L"", L"beta.txt"}), view->namesByIndex);
    EXPECT_EQ(0, browser.refreshes);

    ASSERT_TRUE(Run(L"filt *", folder.Path()));
    EXPECT_EQ(1, browser.refreshes);
}

TEST_F(SessionView, FiltSaysSoWhenTheViewKeepsItsItems)
{
    view->letsItemsBeRemoved = false;
    ASSERT_TRUE(Run(L"filt *.txt", folder.Path()));
    EXPECT_TRUE(EndsWith(Text(), L"filt *.txt\r\nfilt: this folder view does not let items be removed; nothing was "
                                 L"hidden.\r\n\r\n" +
                                     PromptOf(folder.Path())))
        << Text();
    EXPECT_EQ(0, browser.refreshes);
}

// A browser that shows no folder view (a web page) leaves "sel", "filt" and Tab nothing to act on.
TEST_F(SessionView, WithoutAViewCommandsAndTabChangeNothing)
{
    browser.view.reset();
    ASSERT_TRUE(Run(L"sel *", folder.Path()));
    ASSERT_TRUE(Run(L"filt *", folder.Path()));
    EXPECT_EQ(0, browser.refreshes);
    Type(L"type ");
    EXPECT_EQ(L"type ", Tab());
}

// Dropped files become names after what was typed: the shown folder's own files by their bare
// names, others by their paths, quoted where needed; a name that cannot be given is refused with
// one line and the rest still go in. The console takes the focus.
TEST_F(SessionView, DroppedFilesBecomeNamesOnTheCommandLine)
{
    const std::wstring here = folder.File(L"notes.txt");
    const std::wstring there = elsewhere.File(L"two words.txt");
    const std::wstring unreadable = folder.Path() + L"\\\x65e5\x672c.txt";
    ::SetFocus(frame.window.Get());
    Type(L"copy");
    console->FilesDropped({here, unreadable, there});
    ASSERT_TRUE(WaitForText([&](const std::wstring&) {
        return InputAfterPrompt(folder.Path()) == L"copy notes.txt \"" + there + L"\"";
    })) << Text();
    EXPECT_EQ(1u, CountOf(Text(), L"Not put on the console's command line: \"" + unreadable + L"\"")) << Text();
    EXPECT_EQ(edit, ::GetFocus());
}

}  // namespace
