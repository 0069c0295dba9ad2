#include "SessionTestSupport.h"

#include "console/ConsoleInterruptHelper.h"
#include "shared/BuiltPrograms.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace {

using sessiontest::CountOf;
using sessiontest::PromptOf;
using sessiontest::SessionTest;

// A console whose frame gives it the built helper library, so that it signals and asks its
// interpreter's console as the band does.
class SessionInterrupt : public SessionTest {
protected:
    void SetUp() override
    {
        frame.helperLibrary = testsupport::BuiltHelperLibrary();
        ASSERT_NE(nullptr, frame.helperLibrary);
        SessionTest::SetUp();
    }

    // Presses the key while Ctrl is held down in the thread's keyboard state.
    void PressWithControl(UINT key)
    {
        BYTE saved[256] = {};
        ::GetKeyboardState(saved);
        BYTE held[256] = {};
        ::CopyMemory(held, saved, sizeof(held));
        held[VK_CONTROL] = held[VK_LCONTROL] = 0x80;
        ::SetKeyboardState(held);
        Press(key);
        ::SetKeyboardState(saved);
    }

    bool Shows(const std::wstring& said)
    {
        return WaitForText([&](const std::wstring& text) { return text.find(said) != std::wstring::npos; });
    }

    static std::wstring OwnName()
    {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        const wchar_t* name = std::wcsrchr(path, L'\\');
        return name != nullptr ? name + 1 : path;
    }
};

// Ctrl+C at the prompt does nothing. While the interpreter's own command is at work (here "set /p"),
// Ctrl+C goes to the interpreter's console; where it cannot be sent, a line says so, and the
// interpreter goes on with its command.
TEST_F(SessionInterrupt, CtrlCReachesTheInterpretersOwnCommand)
{
    const std::wstring atPrompt = Text();
    PressWithControl('C');
    EXPECT_EQ(atPrompt, Text()) << "nothing runs";

    Submit(L"set /p answer=Your name? ");
    ASSERT_TRUE(WaitForText([](const std::wstring& text) { return sessiontest::EndsWith(text, L"Your name? "); }))
        << Text();
    PressWithControl('C');
    const wchar_t notSent[] = L"Ctrl+C could not be sent to the console; no console program was running to end.\r\n";
    if (!console::InterpreterSurvivesInterrupt()) {
        ASSERT_TRUE(Shows(notSent)) << Text();
    }
    Submit(L"Ann");
    ASSERT_TRUE(WaitForPrompt(folder.Path(), 2)) << Text();
    ASSERT_TRUE(Run(L"echo still answering", folder.Path())) << Text();
    EXPECT_NE(std::wstring::npos, Text().find(L"still answering\r\n")) << Text();
    EXPECT_EQ(console::InterpreterSurvivesInterrupt() ? 0u : 1u, CountOf(Text(), notSent)) << Text();
}

// One Ctrl+C or Ctrl+Break only signals: a program that traps them goes on, however long it takes.
// A second Ctrl+Break within two seconds ends it, with a line that names it; the interpreter stays.
// Where the signals cannot be sent (Wine's interpreter would end with its program), the first key
// ends the program at once and says so.
TEST_F(SessionInterrupt, OneKeySignalsTheProgramASecondCtrlBreakEndsIt)
{
    const size_t prompts = CountOf(Text(), PromptOf(folder.Path()));
    Submit(sessiontest::HelperCommand(L"TrapInterrupts"));
    ASSERT_TRUE(Shows(L"trapping interrupts\r\n")) << Text();
    if (console::InterpreterSurvivesInterrupt()) {
        PressWithControl('C');
        ASSERT_TRUE(Shows(L"got Ctrl+C\r\n")) << Text();
        PressWithControl(VK_CANCEL);
        ASSERT_TRUE(Shows(L"got Ctrl+Break\r\n")) << Text();
        // Longer than a program was once given to end after Ctrl+C.
        WaitFor([] { return false; }, 2500);
        EXPECT_EQ(std::wstring::npos, Text().find(L"ended")) << Text();
        EXPECT_EQ(prompts, CountOf(Text(), PromptOf(folder.Path()))) << "the program still runs: " << Text();
        PressWithControl(VK_CANCEL);
        PressWithControl(VK_CANCEL);
        ASSERT_TRUE(Shows(L"Ctrl+Break twice: ended " + OwnName() + L".\r\n")) << Text();
    } else {
        PressWithControl('C');
        ASSERT_TRUE(Shows(L"Ctrl+C could not be sent to the console: ended " + OwnName() + L".\r\n")) << Text();
    }
    ASSERT_TRUE(WaitForPrompt(folder.Path(), prompts + 1)) << Text();
    ASSERT_TRUE(Run(L"echo still answering", folder.Path())) << Text();
}

HANDLE output = nullptr;

BOOL WINAPI SayInterrupt(DWORD event)
{
    const char* said = event == CTRL_C_EVENT ? "got Ctrl+C\r\n" : "got Ctrl+Break\r\n";
    DWORD written = 0;
    ::WriteFile(output, said, static_cast<DWORD>(std::strlen(said)), &written, nullptr);
    return TRUE;
}

// Run by the interpreter in the tests above, never on its own: says each Ctrl+C and Ctrl+Break
// it gets and goes on, for a minute at most.
TEST(SessionHelper, DISABLED_TrapInterrupts)
{
    output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ::SetConsoleCtrlHandler(SayInterrupt, TRUE);
    const char said[] = "trapping interrupts\r\n";
    DWORD written = 0;
    ::WriteFile(output, said, sizeof(said) - 1, &written, nullptr);
    ::Sleep(60000);
}

}  // namespace
