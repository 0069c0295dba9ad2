#include "BandTestSupport.h"

#include <cwchar>

namespace {

using bandtest::BandInBrowser;
using bandtest::EditRecorder;
using Microsoft::WRL::ComPtr;

DWORD Caret(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return end;
}

ComPtr<IUnknown> IdentityOf(IUnknown* object)
{
    ComPtr<IUnknown> identity;
    object->QueryInterface(IID_PPV_ARGS(&identity));
    return identity;
}

class BandKeys : public BandInBrowser {};

// The interpreter stays and answers after its program was interrupted; a Ctrl+C on a selection
// only copies it. The library that sends the signals is not loaded here: the program is ended at
// once instead, and a line says so.
TEST_F(BandKeys, CtrlCWithoutSelectionAndCtrlBreakInterruptTheRunningProgram)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring helper = std::wcsrchr(self, L'\\') + 1;
    const std::wstring prompt = bandtest::PromptOf(folder.Path());
    const standin::KeyModifiers control{true, false, false};
    const UINT keys[] = {'C', VK_CANCEL};
    for (const UINT key : keys) {
        const size_t prompts = bandtest::CountOf(Text(), prompt);
        Submit(bandtest::HelperCommand(L"ReadOneLine"));
        ASSERT_TRUE(WaitForText([](const std::wstring& text) {
            return bandtest::CountOf(text, L"reading one line\r\n") > 0 && !bandtest::RunningHelpers().empty();
        })) << Text();
        const size_t reading = Text().rfind(L"reading one line");
        ::SendMessageW(edit, EM_SETSEL, reading, reading + 7);
        window.PressKey(edit, 'C', control);
        EXPECT_EQ(1u, bandtest::RunningHelpers().size()) << "a selection is copied, not interrupted";

        ::SendMessageW(edit, EM_SETSEL, Text().size(), Text().size());
        window.PressKey(edit, key, control);
        ASSERT_TRUE(WaitForPrompt(folder.Path(), prompts + 1)) << Text();
        EXPECT_TRUE(window.PumpUntil([] { return bandtest::RunningHelpers().empty(); }));
        EXPECT_EQ(std::wstring::npos, Text().find(L"the program read")) << Text();
        const std::wstring ended = std::wstring(key == 'C' ? L"Ctrl+C" : L"Ctrl+Break") +
                                   L" could not be sent to the console: ended " + helper + L".\r\n";
        EXPECT_EQ(1u, bandtest::CountOf(Text(), ended)) << Text();
    }
    ASSERT_TRUE(Run(L"echo still answering", folder.Path()));
    EXPECT_NE(std::wstring::npos, Text().find(L"still answering\r\n")) << Text();
}

TEST_F(BandKeys, ActivationFocusesTheTextBoxAndReportsTheBand)
{
    const ComPtr<IInputObject> input = BandAs<IInputObject>();
    ::SetFocus(window.ListView());
    EXPECT_EQ(S_FALSE, input->HasFocusIO());
    const size_t reports = window.FocusChanges().size();

    EXPECT_EQ(S_OK, input->UIActivateIO(TRUE, nullptr));
    EXPECT_EQ(edit, ::GetFocus());
    ASSERT_EQ(reports + 1, window.FocusChanges().size());
    EXPECT_TRUE(window.FocusChanges().back().hasFocus);
    EXPECT_EQ(IdentityOf(band.Get()).Get(), window.FocusChanges().back().object);
    EXPECT_EQ(S_OK, input->HasFocusIO());

    ::SetFocus(window.BandWindow());
    EXPECT_EQ(S_OK, input->HasFocusIO()) << "the band window itself counts as the band";
    EXPECT_EQ(S_OK, input->UIActivateIO(FALSE, nullptr));
    EXPECT_EQ(window.BandWindow(), ::GetFocus()) << "deactivation moves no focus";
    ::SetFocus(window.AddressField());
    EXPECT_EQ(S_FALSE, input->HasFocusIO());
    EXPECT_EQ(reports + 1, window.FocusChanges().size()) << "losing the focus is not reported";
}

TEST_F(BandKeys, EditingKeysAndCharactersReachTheTextBox)
{
    const EditRecorder recorder(edit);
    window.TypeText(edit, L"dir abc");
    EXPECT_TRUE(recorder.SawCharacter(L'a'));
    EXPECT_EQ(L"dir abc", InputAfterPrompt(folder.Path()));
    const DWORD end = Caret(edit);

    window.PressKey(edit, VK_LEFT);
    EXPECT_TRUE(recorder.SawKeyDown(VK_LEFT));
    EXPECT_EQ(end - 1, Caret(edit));
    window.PressKey(edit, VK_RIGHT);
    EXPECT_TRUE(recorder.SawKeyDown(VK_RIGHT));
    EXPECT_EQ(end, Caret(edit));
    window.PressKey(edit, VK_HOME);
    EXPECT_TRUE(recorder.SawKeyDown(VK_HOME));
    EXPECT_LT(Caret(edit), end);
}

TEST_F(BandKeys, EnterUpDownAndTabAreTakenByTheBand)
{
    const EditRecorder recorder(edit);
    window.TypeText(edit, L"echo x");
    for (const UINT key : {VK_UP, VK_DOWN, VK_TAB}) {
        window.PressKey(edit, key);
        EXPECT_FALSE(recorder.SawKeyDown(key)) << key;
    }
    window.PressKey(edit, VK_TAB, {false, true, false});
    EXPECT_FALSE(recorder.SawKeyDown(VK_TAB)) << "Shift+Tab";
    EXPECT_FALSE(recorder.SawCharacter(L'\t'));
    EXPECT_EQ(edit, ::GetFocus()) << "Tab keeps the focus in the console";
    EXPECT_EQ(L"echo x", InputAfterPrompt(folder.Path()));

    window.PressKey(edit, VK_RETURN);
    EXPECT_FALSE(recorder.SawKeyDown(VK_RETURN));
    EXPECT_FALSE(recorder.SawCharacter(L'\r'));
    EXPECT_TRUE(WaitForPrompt(folder.Path(), 2)) << Text();
}

TEST_F(BandKeys, EscapeClearsTheCommandLine)
{
    const EditRecorder recorder(edit);
    window.TypeText(edit, L"del *.*");
    window.PressKey(edit, VK_ESCAPE);
    EXPECT_FALSE(recorder.SawKeyDown(VK_ESCAPE));
    EXPECT_EQ(L"", InputAfterPrompt(folder.Path()));
    EXPECT_TRUE(bandtest::EndsWith(Text(), bandtest::PromptOf(folder.Path())));
}

TEST_F(BandKeys, ControlTabNeverReachesTheTextBox)
{
    const EditRecorder recorder(edit);
    folder.File(L"alpha.txt", "a");
    window.TypeText(edit, L"type al");
    window.PressKey(edit, VK_TAB, {true, false, false});
    EXPECT_FALSE(recorder.SawKeyDown(VK_TAB));
    EXPECT_FALSE(recorder.SawCharacter(L'\t'));
    EXPECT_EQ(edit, ::GetFocus());
}

TEST_F(BandKeys, EveryMessageIsReportedAsHandled)
{
    const ComPtr<IInputObject> input = BandAs<IInputObject>();
    const UINT messages[] = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_DEADCHAR, WM_MOUSEMOVE};
    const WPARAM keys[] = {VK_RETURN, VK_UP, VK_DOWN, VK_TAB, VK_LEFT, 'A', VK_F5, VK_ESCAPE};
    for (const UINT message : messages) {
        for (const WPARAM key : keys) {
            MSG routed = {edit, message, key, 1, 0, {}};
            EXPECT_EQ(S_OK, input->TranslateAcceleratorIO(&routed)) << message << " " << key;
            window.PumpPending();
        }
    }
    EXPECT_EQ(S_OK, input->TranslateAcceleratorIO(nullptr));
}

}  // namespace
