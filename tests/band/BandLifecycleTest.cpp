#include "BandTestSupport.h"

#include <exdispid.h>

#include <algorithm>

namespace {

using bandtest::BandInBrowser;
using bandtest::EditRecorder;
using bandtest::RunningInterpreters;

class BandLifecycle : public BandInBrowser {
protected:
    HRESULT InvokeEvent(DISPID id, DISPPARAMS* parameters)
    {
        return BandAs<IDispatch>()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, parameters, nullptr,
                                           nullptr, nullptr);
    }
};

TEST_F(BandLifecycle, CloseShowsExitThenEmptiesAndHidesTheConsoleAndStopsTheInterpreter)
{
    ASSERT_EQ(1u, RunningInterpreters().size());
    window.TypeText(edit, L"half typed");
    {
        const EditRecorder recorder(edit);
        EXPECT_EQ(S_OK, BandAs<IDockingWindow>()->CloseDW(0));
        const std::vector<std::wstring>& replaced = recorder.ReplacedTexts();
        EXPECT_NE(replaced.end(), std::find(replaced.begin(), replaced.end(), L"exit\r\n"));
    }
    EXPECT_EQ(L"", Text());
    EXPECT_TRUE(::IsWindow(window.BandWindow()));
    EXPECT_FALSE(::IsWindowVisible(window.BandWindow()));
    EXPECT_TRUE(RunningInterpreters().empty());
    EXPECT_EQ(1u, window.EventSinkCount());
}

TEST_F(BandLifecycle, ShowingAgainStartsAFreshInterpreterInTheBrowsersFolder)
{
    const std::vector<DWORD> first = RunningInterpreters();
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->CloseDW(0));
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->ShowDW(TRUE));

    EXPECT_TRUE(::IsWindowVisible(window.BandWindow()));
    EXPECT_EQ(edit, ::GetFocus());
    ASSERT_TRUE(WaitForPrompt(folder.Path())) << Text();
    EXPECT_EQ(1u, bandtest::CountOf(Text(), bandtest::PromptOf(folder.Path()))) << Text();
    EXPECT_EQ(std::wstring::npos, Text().find(L"exit"));
    const std::vector<DWORD> second = RunningInterpreters();
    ASSERT_EQ(1u, second.size());
    EXPECT_NE(first, second);
    EXPECT_TRUE(Run(L"echo fresh", folder.Path()));
}

TEST_F(BandLifecycle, NavigationWhileHiddenStartsTheInterpreterInTheNewFolder)
{
    const std::wstring sub = folder.Folder(L"later");
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->ShowDW(FALSE));
    ASSERT_TRUE(RunningInterpreters().empty());

    ASSERT_EQ(S_OK, window.NavigateTo(sub));
    ASSERT_TRUE(WaitForDocumentComplete(1));
    ASSERT_TRUE(WaitForPrompt(sub)) << Text();
    EXPECT_EQ(1u, RunningInterpreters().size());
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->ShowDW(TRUE));
    EXPECT_EQ(1u, RunningInterpreters().size()) << "showing finds the interpreter running";
    EXPECT_EQ(std::wstring::npos, Text().find(L"cd ")) << Text();
    EXPECT_TRUE(Run(L"echo here", sub));
}

// The interpreter started while the band was away stands on the new folder's drive: the next
// folder on the band's first drive must switch back to it.
TEST_F(BandLifecycle, InterpreterStartedOnAnotherDriveIsMovedBackAcrossDrives)
{
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->ShowDW(FALSE));
    ASSERT_EQ(S_OK, window.NavigateTo(elsewhere.Path()));
    ASSERT_TRUE(WaitForPrompt(elsewhere.Path())) << Text();
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->ShowDW(TRUE));

    const std::wstring sub = folder.Folder(L"back");
    ASSERT_EQ(S_OK, window.NavigateTo(sub));
    EXPECT_TRUE(WaitForPrompt(sub)) << Text();

    // Hidden and shown again: the fresh interpreter starts where the browser stands.
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->CloseDW(0));
    ASSERT_EQ(S_OK, window.NavigateTo(elsewhere.Path()));
    ASSERT_TRUE(WaitForDocumentComplete(3));
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->CloseDW(0));
    ASSERT_EQ(S_OK, BandAs<IDockingWindow>()->ShowDW(TRUE));
    ASSERT_TRUE(WaitForPrompt(elsewhere.Path())) << Text();
    ASSERT_EQ(S_OK, window.NavigateTo(sub));
    EXPECT_TRUE(WaitForPrompt(sub)) << Text();
}

TEST_F(BandLifecycle, TypingExitClosesTheBrowserWindow)
{
    Submit(L"exit");
    EXPECT_TRUE(window.PumpUntil([&] { return !window.IsOpen(); }));
    EXPECT_EQ(1, window.QuitCount());
    EXPECT_TRUE(RunningInterpreters().empty());
}

TEST_F(BandLifecycle, QuitEventCutsTheTiesToTheBrowser)
{
    DISPPARAMS none = {};
    EXPECT_EQ(S_OK, InvokeEvent(DISPID_ONQUIT, &none));

    EXPECT_EQ(0u, window.EventSinkCount());
    EXPECT_TRUE(RunningInterpreters().empty());
    EXPECT_TRUE(::IsWindow(window.BandWindow())) << "the window goes with the band, not with the event";
    EXPECT_EQ(0, window.QuitCount()) << "a stopped interpreter did not end by itself";
}

// An allocation that fails inside a COM method is its answer, never an exception in the caller.
TEST_F(BandLifecycle, AllocationFailureInAComMethodIsAnsweredWithOutOfMemory)
{
    window.TypeText(edit, L"echo typed");
    MSG enter = {edit, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    DISPPARAMS none = {};
    HRESULT submitted = S_OK;
    HRESULT completed = S_OK;
    HRESULT sited = S_OK;
    {
        const bandtest::FailingAllocations failing;
        submitted = BandAs<IInputObject>()->TranslateAcceleratorIO(&enter);
        completed = InvokeEvent(DISPID_DOCUMENTCOMPLETE, &none);
        sited = BandAs<IObjectWithSite>()->SetSite(nullptr);
    }
    EXPECT_EQ(E_OUTOFMEMORY, submitted);
    EXPECT_EQ(S_OK, completed) << "a folder shown is recorded without memory, to be followed later";
    EXPECT_EQ(S_OK, sited) << "letting go needs no memory";
}

TEST_F(BandLifecycle, EventsWithoutParametersAreRefusedAndChangeNothing)
{
    const std::vector<DWORD> interpreters = RunningInterpreters();
    window.TypeText(edit, L"kept");
    for (const DISPID id : {DISPID_ONQUIT, DISPID_DOCUMENTCOMPLETE, DISPID_NAVIGATECOMPLETE2, DISPID_VALUE, 0})
        EXPECT_EQ(E_INVALIDARG, InvokeEvent(id, nullptr)) << id;

    EXPECT_EQ(1u, window.EventSinkCount());
    EXPECT_EQ(interpreters, RunningInterpreters());
    EXPECT_EQ(L"kept", InputAfterPrompt(folder.Path()));

    DISPPARAMS none = {};
    EXPECT_EQ(S_OK, InvokeEvent(DISPID_NAVIGATECOMPLETE2, &none));
    EXPECT_EQ(L"kept", InputAfterPrompt(folder.Path())) << "other events are not acted on";
}

}  // namespace
