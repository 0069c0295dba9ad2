#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

namespace band {

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
    history.Submit(line);
    if (RunBuiltinCommand(line))
        console.WriteLine((line + L"\r\n").c_str());
    else
        ShowPrompt();
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

}  // namespace band
