#include "session/ConsoleSession.h"

#include "console/ExactEncoding.h"
#include "session/InputRequestCommand.h"
#include "session/RefusalText.h"

namespace session {
namespace {

// How long a program may take to end after Ctrl+C before it is ended.
constexpr UINT InterruptGrace = 1000;

}  // namespace

// A key that comes while the console waits for its host is taken up after the wait, behind any
// key that came before it.
bool ConsoleSession::TranslateKey(MSG& message)
{
    if (InHostCall() || !pendingKeys.empty()) {
        pendingKeys.push_back(message);
        deferred.keys = true;
        return true;
    }
    HandleKey(message);
    return true;
}

void ConsoleSession::HandleKey(MSG& message)
{
    // Keys act on the text box as it would stand had every chunk of output been shown at once.
    ShowPendingOutput();
    if (accelTable && ::TranslateAcceleratorW(GetHwnd(), accelTable.Get(), &message) != 0)
        return;
    if (message.message == WM_KEYDOWN) {
        switch (message.wParam) {
        case VK_RETURN:
            SubmitLine();
            return;
        case VK_UP:
            RecallOlder();
            return;
        case VK_DOWN:
            RecallNewer();
            return;
        case VK_TAB:
            CompleteFromView();
            return;
        case VK_CANCEL:
            InterruptProgram(true);
            return;
        case 'C':
            if (::GetKeyState(VK_CONTROL) < 0 && !edit.HasSelection()) {
                InterruptProgram(false);
                return;
            }
            break;
        case VK_ESCAPE:
            edit.ClearInput();
            return;
        default:
            break;
        }
    } else if (message.message == WM_KEYUP && edit.GetModify()) {
        if (message.wParam == VK_TAB)
            findHandle.Close();
        completeIndex = 0;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void ConsoleSession::SubmitLine()
{
    std::wstring line;
    edit.GetInputLine(line);
    const shellview::BuiltinCommand command = shellview::ParseBuiltinCommand(line, FolderOrFallback(true));
    // A line the interpreter would read as something else is neither run nor sent, nor half of it.
    if (shellview::IsSentToInterpreter(command)) {
        const UINT codePage = console.CodePageForNextLine();
        if (!console::CarriesExactly(line, codePage)) {
            SayAboveInput(LineRefusal(line, codePage));
            return;
        }
    }
    history.Submit(line);
    KeepInSavedHistory(line);
    // The line stays in the transcript where it was typed.
    edit.CommitInput();
    if (!RunBuiltinCommand(command)) {
        ShowPrompt();
        return;
    }
    // An answer to "set /p" or "pause" is read, not run, whatever it says.
    interpreterAsksForALine = !interpreterAsksForALine && RequestsALineOfInput(line) && !console.IsBusy();
    echoes.Expect(line);
    console.WriteLine((line + L"\r\n").c_str());
}

void ConsoleSession::SayAboveInput(const std::wstring& line)
{
    std::wstring input;
    edit.GetInputLine(input);
    ShowPendingOutput();
    edit.ClearInput();
    edit.AppendText((L"\r\n" + line + L"\r\n").c_str(), TRUE);
    ShowPrompt();
    edit.AppendText(input.c_str(), FALSE);
}

void ConsoleSession::ReplaceInput(const std::wstring& text)
{
    edit.ClearInput();
    edit.AppendText(text.c_str(), FALSE);
}

void ConsoleSession::RecallOlder()
{
    std::wstring typed;
    edit.GetInputLine(typed);
    std::wstring shown;
    if (history.RecallOlder(typed, shown))
        ReplaceInput(shown);
}

void ConsoleSession::RecallNewer()
{
    std::wstring shown;
    if (history.RecallNewer(shown))
        ReplaceInput(shown);
}

// After a command the console ran itself the interpreter prints no prompt: the console writes one
// that looks like the interpreter's own.
void ConsoleSession::ShowPrompt()
{
    std::wstring prompt = L"\r\n" + FolderOrFallback(false) + L">";
    if (!edit.OutputEndsLine())
        prompt.insert(0, L"\r\n");
    edit.AppendText(prompt.c_str(), TRUE);
}

// The console's own Ctrl+C lets the program clean up; one that ignores it is ended a moment
// later, with whatever it started, and at once where the console's Ctrl+C cannot be sent. The
// interpreter stays.
void ConsoleSession::InterruptProgram(bool breakKey)
{
    if (!console.IsBusy())
        return;
    if (console.Interrupt(breakKey))
        ::SetTimer(GetHwnd(), InterruptTimer, InterruptGrace, nullptr);
    else
        EndProgramStillRunning();
}

void ConsoleSession::EndProgramStillRunning()
{
    ::KillTimer(GetHwnd(), InterruptTimer);
    if (console.IsBusy())
        console.EndRunningPrograms();
}

}  // namespace session
