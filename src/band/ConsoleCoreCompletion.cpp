#include "band/ConsoleCore.h"

#include "shellview/CompletionText.h"
#include "shellview/ShellListView.h"
#include "shellview/ViewCompletion.h"
#include "support/AppMessages.h"

namespace band {

HWND CConsoleCore::BrowserWindow() const
{
    SHANDLE_PTR window = 0;
    if (!browser || FAILED(browser->get_HWND(&window)))
        return nullptr;
    return reinterpret_cast<HWND>(window);
}

std::wstring CConsoleCore::InputUpToCaret(int caret) const
{
    std::wstring line;
    edit.GetInputLine(line);
    return line.substr(0, static_cast<size_t>(caret) < line.size() ? static_cast<size_t>(caret) : line.size());
}

void CConsoleCore::CompleteFromView()
{
    if (edit.GetModify())
        completeIndex = 0;
    const int caret = edit.GetCaretInInput();
    if (caret < 0)
        return;
    CompletionState& state = completion;
    if (completeIndex == 0) {
        const std::wstring head = InputUpToCaret(caret);
        const int start = shellview::FindWordStart(head, state.tabQuoted);
        state.tabPrefix = head.substr(0, static_cast<size_t>(start));
        state.tabBase = shellview::CompletionBase(head.substr(static_cast<size_t>(start)));
    }
    const auto candidate =
        shellview::FindViewCandidate(shellview::FindShellListView(BrowserWindow()), completeIndex, state.tabBase);
    if (!candidate)
        return;
    completeIndex = candidate->index + 1;
    ReplaceInput(state.tabPrefix + shellview::QuoteCandidate(candidate->name, state.tabQuoted));
    edit.SetModify(FALSE);
}

LRESULT CConsoleCore::CompleteFromFileSystem(WPARAM command)
{
    if (LOWORD(command) != ID_COMPLETE_FILE)
        return 0;
    ShowPendingOutput();
    CompletionState& state = completion;
    if (findHandle.IsOpen()) {
        if (edit.GetModify())
            return 0;
        if (const auto next = findHandle.Next()) {
            std::wstring line;
            edit.GetInputLine(line);
            BOOL ignored = FALSE;
            const int start = shellview::FindWordStart(line, ignored);
            ReplaceInput(line.substr(0, static_cast<size_t>(start)) + shellview::QuoteCandidate(*next, state.findQuoted));
            return 0;
        }
    }
    const int caret = edit.GetCaretInInput();
    if (caret < 0)
        return 0;
    std::wstring folder;
    GetFolderPath(folder, TRUE);
    state.findPrefix = InputUpToCaret(caret);
    const int start = shellview::FindWordStart(state.findPrefix, state.findQuoted);
    const auto first = findHandle.Start(
        shellview::FileSearchPattern(folder, state.findPrefix.substr(static_cast<size_t>(start))));
    if (!first)
        return 0;
    ReplaceInput(state.findPrefix.substr(0, static_cast<size_t>(start)) + shellview::QuoteCandidate(*first, state.findQuoted));
    edit.SetModify(FALSE);
    return 0;
}

}  // namespace band
