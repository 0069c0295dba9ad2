#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

#include "band/InputRequestCommand.h"
#include "band/RefusalText.h"
#include "console/ExactEncoding.h"
#include "module/BrimblestoneModule.h"

namespace band {
namespace {

// How long a program may take to end after Ctrl+C before it is ended.
constexpr UINT InterruptGrace = 1000;

}  // namespace

// The host hands every keyboard message of the focused band here before dispatching it; the
// band dispatches what it does not consume itself, so the host never acts on a key twice.
STDMETHODIMP CConsoleCore::TranslateAcceleratorIO(MSG* message)
try {
    if (message == nullptr)
        return S_OK;
    // Keys act on the text box as it would stand had every chunk of output been shown at once.
    ShowPendingOutput();
    if (accelTable && ::TranslateAcceleratorW(GetHwnd(), accelTable.Get(), message) != 0)
        return S_OK;
    if (message->message == WM_KEYDOWN) {
        switch (message->wParam) {
        case VK_RETURN:
            SubmitLine();
            return S_OK;
        case VK_UP:
            RecallOlder();
            return S_OK;
        case VK_DOWN:
            RecallNewer();
            return S_OK;
        case VK_TAB:
            CompleteFromView();
            return S_OK;
        case VK_CANCEL:
            InterruptProgram(true);
            return S_OK;
        case 'C':
            if (::GetKeyState(VK_CONTROL) < 0 && !edit.HasSelection()) {
                InterruptProgram(false);
                return S_OK;
            }
            break;
        case VK_ESCAPE:
            edit.ClearInput();
            return S_OK;
        default:
            break;
        }
    } else if (message->message == WM_KEYUP && edit.GetModify()) {
        if (message->wParam == VK_TAB)
            findHandle.Close();
        completeIndex = 0;
    }
    ::TranslateMessage(message);
    ::DispatchMessageW(message);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

void CConsoleCore::SubmitLine()
{
    std::wstring line;
    edit.GetInputLine(line);
    std::wstring folder;
    GetFolderPath(folder, TRUE);
    const shellview::BuiltinCommand command = shellview::ParseBuiltinCommand(line, folder);
    // A line the interpreter would read as something else is neither run nor sent, nor half of it.
    if (shellview::IsSentToInterpreter(command) && !console::CarriesExactly(line, InterpreterCodePage())) {
        SayAboveInput(LineRefusal(line, InterpreterCodePage()));
        return;
    }
    history.Submit(line);
    // The line stays in the transcript where it was typed.
    edit.CommitInput();
    if (!RunBuiltinCommand(command)) {
        ShowPrompt();
        return;
    }
    // An answer to "set /p" or "pause" is read, not run, whatever it says.
    interpreterAsksForALine = !interpreterAsksForALine && RequestsALineOfInput(line) && !console.IsBusy();
    echoes.Expect(line);
    if (console.WriteLine((line + L"\r\n").c_str()) && console::MayChangeCodePage(line))
        CodePageMayHaveChanged();
}

UINT CConsoleCore::InterpreterCodePage()
{
    const CodePageFollowing::BeforeConverting before = codePageFollowing.KnowNow();
    if (before == CodePageFollowing::BeforeConverting::AskAndAwait)
        console.ForgetCodePageQuestion();
    if (before != CodePageFollowing::BeforeConverting::Known)
        console.FollowCodePage();
    return console.CodePage();
}

void CConsoleCore::CodePageMayHaveChanged()
{
    codePageFollowing.MayHaveChanged();
    ::SetTimer(GetHwnd(), CodePageTimer, CodePageFollowing::CheckInterval, nullptr);
}

// The code page is learnt while the interpreter waits for a command, so that the next line
// converted need not wait for the helper that asks it.
void CConsoleCore::FollowCodePageWhenQuiet()
{
    if (codePageFollowing.IsAsked() && !console.CodePageAnswerPending())
        codePageFollowing.Answered();
    if (codePageFollowing.IsDueToAsk() && !InterpreterReadsInput())
        codePageFollowing.Asked(console.AskCodePage() != FALSE);
    if (!codePageFollowing.IsWatching())
        ::KillTimer(GetHwnd(), CodePageTimer);
}

void CConsoleCore::SayAboveInput(const std::wstring& line)
{
    std::wstring input;
    edit.GetInputLine(input);
    ShowPendingOutput();
    edit.ClearInput();
    edit.AppendText((L"\r\n" + line + L"\r\n").c_str(), TRUE);
    ShowPrompt();
    edit.AppendText(input.c_str(), FALSE);
}

void CConsoleCore::ReplaceInput(const std::wstring& text)
{
    edit.ClearInput();
    edit.AppendText(text.c_str(), FALSE);
}

void CConsoleCore::RecallOlder()
{
    std::wstring typed;
    edit.GetInputLine(typed);
    std::wstring shown;
    if (history.RecallOlder(typed, shown))
        ReplaceInput(shown);
}

void CConsoleCore::RecallNewer()
{
    std::wstring shown;
    if (history.RecallNewer(shown))
        ReplaceInput(shown);
}

// After a command the band ran itself the interpreter prints no prompt: the band writes one
// that looks like the interpreter's own.
void CConsoleCore::ShowPrompt()
{
    std::wstring folder;
    GetFolderPath(folder, FALSE);
    std::wstring prompt = L"\r\n" + folder + L">";
    const int length = ::GetWindowTextLengthW(edit.GetHwnd());
    if (length > 0) {
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        ::GetWindowTextW(edit.GetHwnd(), &text[0], length + 1);
        if (text[static_cast<size_t>(length) - 1] != L'\n')
            prompt.insert(0, L"\r\n");
    }
    edit.AppendText(prompt.c_str(), TRUE);
}

// The console's own Ctrl+C lets the program clean up; one that ignores it is ended a moment
// later, with whatever it started, and at once where the console's Ctrl+C cannot be sent. The
// interpreter stays.
void CConsoleCore::InterruptProgram(bool breakKey)
{
    if (!console.IsBusy())
        return;
    if (console.Interrupt(server::libraryModule->Instance(), breakKey))
        ::SetTimer(GetHwnd(), InterruptTimer, InterruptGrace, nullptr);
    else
        EndProgramStillRunning();
}

void CConsoleCore::EndProgramStillRunning()
{
    ::KillTimer(GetHwnd(), InterruptTimer);
    if (console.IsBusy())
        console.EndRunningPrograms();
}

}  // namespace band
