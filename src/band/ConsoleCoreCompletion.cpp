#include "band/ConsoleCore.h"

#include "shellview/CompletionText.h"
#include "shellview/ShellFolderView.h"
#include "shellview/ShellListView.h"
#include "shellview/ViewCompletion.h"
#include "support/AppMessages.h"

namespace band {
namespace {

// The word being completed, shared by every band in the process: only the focused band handles
// keys, and a cycle may go on in another browser window where it left off.
struct CompletionState {
    std::wstring tabPrefix;
    std::wstring tabBase;
    BOOL tabQuoted = FALSE;
    std::wstring findPrefix;
    BOOL findQuoted = FALSE;
    // The view's names as the cycle began: reading them all once keeps each further Tab short.
    std::vector<std::wstring> tabNames;
};

CompletionState& ModuleCompletion()
{
    static CompletionState state;
    return state;
}

}  // namespace

// The browser's shell view through its interfaces; its list control where it offers none.
std::vector<std::wstring> CConsoleCore::ViewNames() const
{
    if (const auto view = shellview::ShellFolderView::OfBrowser(siteServices.Get()))
        return view->NamesInViewOrder();
    return shellview::ReadViewNames(shellview::FindShellListView(BrowserWindow()));
}

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
    CompletionState& state = ModuleCompletion();
    if (completeIndex == 0) {
        const std::wstring head = InputUpToCaret(caret);
        const int start = shellview::FindWordStart(head, state.tabQuoted);
        state.tabPrefix = head.substr(0, static_cast<size_t>(start));
        state.tabBase = shellview::CompletionBase(head.substr(static_cast<size_t>(start)));
        state.tabNames = ViewNames();
    }
    const auto candidate = shellview::FindViewCandidate(state.tabNames, completeIndex, state.tabBase);
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
    CompletionState& state = ModuleCompletion();
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
