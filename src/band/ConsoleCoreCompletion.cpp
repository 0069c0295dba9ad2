#include "band/ConsoleCore.h"

#include "band/RefusalText.h"
#include "band/SpelledPath.h"
#include "shellview/CompletionText.h"
#include "shellview/ShellFolderView.h"
#include "shellview/ShellListView.h"
#include "shellview/ViewCompletion.h"
#include "support/AppMessages.h"

namespace band {

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
    CompletionState& state = completion;
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
    std::wstring folder;
    GetFolderPath(folder, TRUE);
    ReplaceWordWithFound(state.tabPrefix, candidate->name, folder, state.tabQuoted);
    edit.SetModify(FALSE);
}

// The found name goes into the input as the interpreter can read it, or the console says why it cannot.
void CConsoleCore::ReplaceWordWithFound(const std::wstring& prefix, const std::wstring& name, const std::wstring& folder,
                                        BOOL quoted)
{
    const auto spelled = SpelledName(folder, name, InterpreterCodePage());
    if (!spelled) {
        SayAboveInput(NameRefusal(folder + name, InterpreterCodePage()));
        return;
    }
    ReplaceInput(prefix + shellview::QuoteCandidate(*spelled, quoted));
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
            ReplaceWordWithFound(line.substr(0, static_cast<size_t>(start)), *next, state.findFolder, state.findQuoted);
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
    const std::wstring pattern = shellview::FileSearchPattern(folder, state.findPrefix.substr(static_cast<size_t>(start)));
    const auto first = findHandle.Start(pattern);
    if (!first)
        return 0;
    state.findFolder = pattern.substr(0, pattern.find_last_of(L'\\') + 1);
    ReplaceWordWithFound(state.findPrefix.substr(0, static_cast<size_t>(start)), *first, state.findFolder, state.findQuoted);
    edit.SetModify(FALSE);
    return 0;
}

}  // namespace band
