#include "session/ConsoleSession.h"

#include "console/ExactEncoding.h"
#include "session/InputRequestCommand.h"
#include "session/RefusalText.h"

namespace session {
namespace {

// A second Ctrl+Break this soon after the first ends the console programs.
constexpr ULONGLONG SecondBreakWithin = 2000;

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
    SendTypedLine(line);
}

// Lines go at once, for whoever reads next; the console's input hands them over one at a time.
void ConsoleSession::SendTypedLine(const std::wstring& line)
{
    if (marksFollowed) {
        WriteLine(line);
        return;
    }
    // An answer to "set /p" or "pause" is read, not run, whatever it says.
    interpreterAsksForALine = !interpreterAsksForALine && RequestsALineOfInput(line) && !console.IsBusy();
    if (echo != Echo::Silent && echo != Echo::Echoes)
        echoes.Expect(line);
    WriteLine(line);
}

// Each pasted line is taken as if it were typed and Enter pressed; what follows the last line end
// stays on the command line. A line that is not sent stays too, and the lines after it are not run.
void ConsoleSession::PasteLines(const std::wstring& text)
{
    size_t from = 0;
    for (;;) {
        const size_t end = text.find_first_of(L"\r\n", from);
        if (end == std::wstring::npos) {
            edit.TypeText(text.c_str() + from);
            return;
        }
        edit.TypeText(text.substr(from, end - from).c_str());
        SubmitLine();
        from = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
        std::wstring left;
        edit.GetInputLine(left);
        if (!left.empty() && from < text.size()) {
            SayAboveInput(L"The rest of the paste was not run.");
            return;
        }
    }
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
    std::wstring prompt = L"\r\n" + InterpreterFolder() + L">";
    if (!edit.OutputEndsLine())
        prompt.insert(0, L"\r\n");
    edit.AppendText(prompt.c_str(), TRUE);
}

// While the interpreter is at work, Ctrl+C and Ctrl+Break send its console their signals, as keys
// in a console window do: the interpreter's own command stops, and a program may stop, ask, save
// its work or go on; nothing is ended. Ending the console programs is a step of its own: a second
// Ctrl+Break soon after the first. Where the signal cannot be sent (Wine's interpreter would end
// with its program), the console programs are ended at once. The interpreter always stays.
void ConsoleSession::InterruptProgram(bool breakKey)
{
    if (!InterpreterReadsInput())
        return;
    const ULONGLONG now = ::GetTickCount64();
    if (breakKey && breakSentAt != 0 && now - breakSentAt <= SecondBreakWithin) {
        breakSentAt = 0;
        EndConsolePrograms(EndingReason::SecondBreak);
    } else if (console.Interrupt(breakKey)) {
        if (breakKey)
            breakSentAt = now;
    } else {
        EndConsolePrograms(breakKey ? EndingReason::CtrlBreakNotSent : EndingReason::CtrlCNotSent);
    }
}

void ConsoleSession::EndConsolePrograms(EndingReason reason)
{
    SayAmongOutput(EndedProgramsLine(reason, console.EndRunningPrograms()));
}

void ConsoleSession::SayAmongOutput(const std::wstring& line)
{
    ShowPendingOutput();
    edit.InsertOutput(((edit.OutputEndsLine() ? L"" : L"\r\n") + line + L"\r\n").c_str());
}

}  // namespace session
