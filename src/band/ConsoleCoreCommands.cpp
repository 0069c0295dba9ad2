#include "band/ConsoleCore.h"

#include "band/ChangeDirectoryCommand.h"
#include "band/RefusalText.h"
#include "band/SpelledPath.h"
#include "shellview/BuiltinCommand.h"
#include "shellview/ShellFolderView.h"
#include "shellview/ShellListView.h"
#include "shellview/ViewCommands.h"
#include "support/ComResources.h"

namespace band {

using support::UniqueVariant;

// The band's own commands act on the browser window; "cd" goes to the interpreter as well.
BOOL CConsoleCore::RunBuiltinCommand(const shellview::BuiltinCommand& command)
{
    switch (command.kind) {
    case shellview::BuiltinCommandKind::ChangeFolder:
        if (!command.folder.empty())
            NavigateFromConsole(command.folder, command.switchesDrive);
        break;
    case shellview::BuiltinCommandKind::Refresh:
        if (browser)
            browser->Refresh();
        break;
    case shellview::BuiltinCommandKind::Select:
        if (const auto view = shellview::ShellFolderView::OfBrowser(siteServices.Get()))
            shellview::RunSelectCommand(*view, command.patterns.c_str());
        else
            shellview::RunSelectCommand(shellview::FindShellListView(BrowserWindow()), command.patterns.c_str());
        break;
    case shellview::BuiltinCommandKind::Filter:
        if (const auto view = shellview::ShellFolderView::OfBrowser(siteServices.Get())) {
            if (!shellview::RunFilterCommand(*view, command.patterns.c_str(), browser.Get()))
                edit.AppendText(shellview::FilterRefusedMessage().c_str(), TRUE);
        } else {
            shellview::RunFilterCommand(shellview::FindShellListView(BrowserWindow()), command.patterns.c_str(),
                                        browser.Get());
        }
        break;
    case shellview::BuiltinCommandKind::None:
        break;
    }
    return shellview::IsSentToInterpreter(command) ? TRUE : FALSE;
}

void CConsoleCore::NavigateFromConsole(const std::wstring& folder, bool switchesDrive)
{
    if (!browser)
        return;
    UniqueVariant address;
    address.vt = VT_BSTR;
    address.bstrVal = ::SysAllocString(shellview::FolderAddress(folder).c_str());
    if (address.bstrVal == nullptr)
        return;
    UniqueVariant flags;
    UniqueVariant targetFrame;
    UniqueVariant postData;
    UniqueVariant headers;
    navFromConsole = TRUE;
    std::wstring shown;
    GetFolderPath(shown, FALSE);
    consoleLeftTheDrive = !switchesDrive && DriveOf(folder) != DriveOf(shown);
    // A navigation that never starts completes nothing: the next one the user makes is not the console's.
    if (FAILED(browser->Navigate2(&address, &flags, &targetFrame, &postData, &headers)))
        navFromConsole = FALSE;
}

// The folder's path as the interpreter can be given it, long or short, never another folder's.
// Nothing reaches the interpreter when there is no such spelling; it is asked for a fresh prompt
// instead, which shows where it stayed.
void CConsoleCore::SendChangeDirectory(const std::wstring& folder)
{
    const auto spelled = SpelledPath(folder, InterpreterCodePage());
    if (!spelled) {
        ShowPendingOutput();
        edit.InsertOutput((L"\r\n" + FolderRefusal(folder, InterpreterCodePage()) + L"\r\n").c_str());
        console.WriteLine(L"\r\n");
        return;
    }
    console.WriteLine(ChangeDirectoryCommand(*spelled).c_str());
}

}  // namespace band

namespace band {

// The interpreter ran the console's "cd" itself, but without the drive switch it stays on its
// drive while the browser moves to another one: bring it along.
void CConsoleCore::FollowConsoleNavigation()
{
    std::wstring folder;
    if (consoleLeftTheDrive && GetFolderPath(folder, FALSE))
        SendChangeDirectory(folder);
    consoleLeftTheDrive = false;
}

}  // namespace band
