#pragma once

#include "MessagePump.h"
#include "session/ConsoleSession.h"
#include "shared/ScratchFolder.h"
#include "shared/TextSearch.h"
#include "support/UniqueHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sessiontest {

using testsupport::CountOf;
using testsupport::EndsWith;
using testsupport::ScratchFolder;

// A folder view that keeps its names and records what the console did to it. Its view order may
// differ from its index order, as in a sorted view.
struct FakeView {
    std::vector<std::wstring> namesByIndex;
    std::vector<int> viewOrder;  // indexes in the order shown; empty: the index order
    bool letsItemsBeRemoved = true;
    std::vector<int> selected;
    std::vector<std::vector<int>> removals;
    int focusTaken = 0;
};

// A browser in the test's own process: it shows a folder (or none), completes a navigation at
// once, reporting the new folder to the console while the console's own call is still running, as
// a browser in another process does, and keeps a record of what the console asked of it.
class FakeBrowser final : public session::HostBrowser {
public:
    std::optional<std::wstring> shown;
    std::shared_ptr<FakeView> view;  // none: the browser shows no folder view
    session::ConsoleSession* console = nullptr;
    std::vector<std::wstring> navigations;
    bool showsNavigations = true;  // false: a navigation is asked for and never completes
    int refreshes = 0;
    int interpreterEnds = 0;

    std::optional<std::wstring> Folder() override { return shown; }
    bool Navigate(const std::wstring& folder) override;
    void Refresh() override { ++refreshes; }
    std::unique_ptr<session::HostFolderView> ActiveView() override;
    void InterpreterEnded() override { ++interpreterEnds; }
};

// A frame in the test's own process: a hidden top-level window holds the console.
class FakeFrame final : public session::HostFrame {
public:
    FakeFrame();
    HWND ParentWindow() override { return window.Get(); }
    void FocusChanged(bool hasFocus) override { focusChanges.push_back(hasFocus); }
    bool MayTakeFocus() override { return mayTakeFocus; }
    HMODULE HelperLibrary() override { return helperLibrary; }
    void RowHeightChanged() override { ++rowHeightChanges; }
    void RunModal(const std::function<void()>& modal) override
    {
        ++modalWindows;
        modal();
    }

    support::UniqueWindow window;
    HMODULE helperLibrary = nullptr;  // none: the console can neither ask nor signal its console
    std::vector<bool> focusChanges;
    bool mayTakeFocus = true;
    int rowHeightChanges = 0;
    int modalWindows = 0;
};

// The interpreter's prompt for a folder.
std::wstring PromptOf(const std::wstring& folder);
// The command that makes the interpreter run one of this program's helpers: a disabled test
// SessionHelper.DISABLED_<name>, run as a console program of the interpreter.
std::wstring HelperCommand(const wchar_t* name);

// A console session with fake hosts, showing a scratch folder on drive C:; the interpreter has
// printed its first prompt when a test begins.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A new console for the browser, as a new window of the browser would have: its first prompt is shown.
    void OpenConsole();
    // The same, without waiting for the interpreter.
    void StartConsole();

    std::wstring Text() const;
    // What follows the last prompt of the folder: the command line as it stands.
    std::wstring InputAfterPrompt(const std::wstring& folder) const;
    // Runs the thread's messages, keys through the console, until `done` holds.
    bool WaitFor(const std::function<bool()>& done, DWORD bound = standin::DefaultPumpTimeoutMs);
    bool WaitForText(const std::function<bool(const std::wstring&)>& done);
    // Waits until the text ends in the folder's prompt, shown at least `count` times.
    bool WaitForPrompt(const std::wstring& folder, size_t count = 1);
    void Type(const std::wstring& text);
    void Press(UINT key);
    // Puts the text on the clipboard and pastes it into the text box; false when the clipboard refused.
    bool Paste(const std::wstring& text);
    // Types the line and presses Enter, as the user does.
    void Submit(const std::wstring& line);
    // Presses Up that many times: the command line after each press.
    std::vector<std::wstring> RecallWithUp(size_t presses, const std::wstring& promptFolder);
    // Submits the line in the folder and waits for the interpreter's next prompt there.
    bool Run(const std::wstring& line, const std::wstring& folder);
    // The browser shows another place (a folder, or none) and says so.
    void Show(const std::optional<std::wstring>& folder);

    bool RouteKey(MSG& message);

    ScratchFolder folder;
    // A folder on another drive; removed only after the interpreter that may stand in it is gone.
    ScratchFolder elsewhere{L"Z:\\tmp\\"};
    FakeFrame frame;
    FakeBrowser browser;
    std::unique_ptr<session::ConsoleSession> console;
    HWND edit = nullptr;
};

}  // namespace sessiontest
