#include "session/ConsoleSession.h"

#include "session/ChangeDirectoryCommand.h"
#include "session/FolderViewCommands.h"
#include "session/RefusalText.h"
#include "session/SpelledPath.h"

#include <memory>

namespace session {

// The console's own commands act on the browser window; "cd" goes to the interpreter as well.
bool ConsoleSession::RunBuiltinCommand(const shellview::BuiltinCommand& command)
{
    switch (command.kind) {
    case shellview::BuiltinCommandKind::ChangeFolder:
        // Where the interpreter marks its prompts, its next prompt tells where it went.
        if (!command.folder.empty() && !marksFollowed)
            NavigateFromConsole(command.folder, command.switchesDrive);
        break;
    case shellview::BuiltinCommandKind::Refresh: {
        const HostCall call(*this);
        browser.Refresh();
        break;
    }
    case shellview::BuiltinCommandKind::Select:
    case shellview::BuiltinCommandKind::Filter:
        RunViewCommand(command);
        break;
    case shellview::BuiltinCommandKind::None:
        break;
    }
    return shellview::IsSentToInterpreter(command);
}

// "sel" and "filt" act on the active view; a browser that shows none leaves nothing to act on.
void ConsoleSession::RunViewCommand(const shellview::BuiltinCommand& command)
{
    bool refused = false;
    {
        const HostCall call(*this);
        const std::unique_ptr<HostFolderView> view = browser.ActiveView();
        if (!view)
            return;
        if (command.kind == shellview::BuiltinCommandKind::Select)
            RunSelectCommand(*view, command.patterns.c_str());
        else
            refused = !RunFilterCommand(*view, browser, command.patterns.c_str());
    }
    if (refused)
        edit.AppendText(FilterRefusedMessage().c_str(), TRUE);
}

void ConsoleSession::NavigateFromConsole(const std::wstring& folder, bool switchesDrive)
{
    const std::wstring shown = FolderOrFallback(false);
    navFromConsole = true;
    consoleLeftTheDrive = !switchesDrive && DriveOf(folder) != DriveOf(shown);
    // A navigation that never starts completes nothing: the next one the user makes is not the console's.
    const HostCall call(*this);
    if (!browser.Navigate(folder))
        navFromConsole = false;
}

// The folder's path as the interpreter can be given it, long or short, never another folder's.
// Nothing reaches the interpreter when there is no such spelling; it is asked for a fresh prompt
// instead, which shows where it stayed.
void ConsoleSession::SendChangeDirectory(const std::wstring& folder)
{
    const UINT codePage = console.CodePageForNextLine();
    const auto spelled = SpelledPath(folder, codePage, Line::Own);
    if (!spelled) {
        ShowPendingOutput();
        edit.InsertOutput((L"\r\n" + FolderRefusal(folder, codePage) + L"\r\n").c_str());
        WriteLine(std::wstring());
        return;
    }
    WriteLine(ChangeDirectoryCommand(*spelled));
}

// The interpreter ran the console's "cd" itself, but without the drive switch it stays on its
// drive while the browser moves to another one: bring it along.
void ConsoleSession::FollowConsoleNavigation()
{
    std::wstring folder;
    if (consoleLeftTheDrive && ShowsFileSystemFolder(folder))
        SendChangeDirectory(folder);
    consoleLeftTheDrive = false;
}

}  // namespace session
