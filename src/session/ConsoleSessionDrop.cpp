#include "session/ConsoleSession.h"

#include "dragdrop/DroppedFiles.h"
#include "session/RefusalText.h"
#include "session/SpelledPath.h"

namespace session {

// Dropped files become names on the command line, after what was typed, as the interpreter can
// read them; a name it cannot be given is refused with one line, and the rest still go in. The
// console then takes the keyboard focus: the user dropped the files on it.
void ConsoleSession::InsertDroppedNames(const std::vector<std::wstring>& paths)
{
    if (GetHwnd() == nullptr)
        return;
    ShowPendingOutput();
    const std::wstring folder = FolderOrFallback(false);
    for (const std::wstring& path : paths) {
        const UINT codePage = console.CodePageForNextLine();
        const auto spelled = SpelledPath(path, codePage);
        if (!spelled) {
            SayAboveInput(NameRefusal(path, codePage));
            continue;
        }
        std::wstring line;
        edit.GetInputLine(line);
        if (!line.empty() && line.back() != L' ')
            edit.AppendText(L" ", FALSE);
        edit.AppendText(dragdrop::NameForCommandLine(*spelled, folder).c_str(), FALSE);
    }
    ::SetFocus(edit.GetHwnd());
}

}  // namespace session
