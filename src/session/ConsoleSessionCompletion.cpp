#include "session/ConsoleSession.h"

#include "session/RefusalText.h"
#include "session/SpelledPath.h"
#include "shellview/CompletionText.h"
#include "shellview/ViewCompletion.h"

#include <memory>

namespace session {

// The view's names as the user sees them; none when the browser shows no folder view.
std::vector<std::wstring> ConsoleSession::ViewNames()
{
    const HostCall call(*this);
    const std::unique_ptr<HostFolderView> view = browser.ActiveView();
    return view ? view->NamesInViewOrder() : std::vector<std::wstring>();
}

std::wstring ConsoleSession::InputUpToCaret(int caret) const
{
    std::wstring line;
    edit.GetInputLine(line);
    return line.substr(0, static_cast<size_t>(caret) < line.size() ? static_cast<size_t>(caret) : line.size());
}

void ConsoleSession::CompleteFromView()
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
    // A word with a folder part matches no name the view shows: the word has none to keep.
    ReplaceWordWithFound(state.tabPrefix, std::wstring(), candidate->name, FolderOrFallback(true), state.tabQuoted);
    edit.SetModify(FALSE);
}

// The found name goes into the input as the interpreter can read it, after the folder part of the
// typed word, or the console says why it cannot.
void ConsoleSession::ReplaceWordWithFound(const std::wstring& prefix, const std::wstring& word,
                                          const std::wstring& name, const std::wstring& folder, BOOL quoted)
{
    const UINT codePage = console.CodePageForNextLine();
    const auto spelled = SpelledName(folder, name, codePage);
    if (!spelled) {
        SayAboveInput(NameRefusal(folder + name, codePage));
        return;
    }
    ReplaceInput(prefix + shellview::CompletedWord(word, *spelled, quoted));
}

void ConsoleSession::CompleteFromFileSystem()
{
    ShowPendingOutput();
    CompletionState& state = completion;
    if (findHandle.IsOpen()) {
        if (edit.GetModify())
            return;
        if (const auto next = findHandle.Next()) {
            std::wstring line;
            edit.GetInputLine(line);
            BOOL ignored = FALSE;
            const int start = shellview::FindWordStart(line, ignored);
            ReplaceWordWithFound(line.substr(0, static_cast<size_t>(start)), line.substr(static_cast<size_t>(start)),
                                 *next, state.findFolder, state.findQuoted);
            return;
        }
    }
    const int caret = edit.GetCaretInInput();
    if (caret < 0)
        return;
    const std::wstring folder = FolderOrFallback(true);
    state.findPrefix = InputUpToCaret(caret);
    const int start = shellview::FindWordStart(state.findPrefix, state.findQuoted);
    const std::wstring word = state.findPrefix.substr(static_cast<size_t>(start));
    const auto first = findHandle.Start(shellview::FileSearchPattern(folder, word));
    if (!first)
        return;
    state.findFolder = shellview::FileSearchFolder(folder, word);
    ReplaceWordWithFound(state.findPrefix.substr(0, static_cast<size_t>(start)), word, *first, state.findFolder,
                         state.findQuoted);
    edit.SetModify(FALSE);
}

}  // namespace session
