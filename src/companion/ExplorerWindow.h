#pragma once

#include "companion/DockedConsole.h"
#include "companion/ExplorerTab.h"
#include "session/HostBrowser.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace companion {

// One File Explorer window followed from outside: its tabs (each a browser of the shell's list),
// the active one among them, and the console docked to it, if one is open. To its console it is
// the browser: the active tab's folder, navigation, refresh and view.
class ExplorerWindow final : public session::HostBrowser {
public:
    // `interpreterEnded` is told that the console's interpreter ended by itself ("exit"): the
    // owner closes the console later, outside the console's call.
    ExplorerWindow(HWND topWindow, std::function<void()> interpreterEnded);
    ~ExplorerWindow() override;
    ExplorerWindow(const ExplorerWindow&) = delete;
    ExplorerWindow& operator=(const ExplorerWindow&) = delete;

    HWND TopWindow() const noexcept { return topWindow; }
    DWORD ProcessId() const noexcept;

    void AddTab(std::unique_ptr<ExplorerTab> tab);
    ExplorerTab* FindTab(IUnknown* identity) const noexcept;
    std::unique_ptr<ExplorerTab> TakeTab(ExplorerTab* tab);
    const std::vector<std::unique_ptr<ExplorerTab>>& Tabs() const noexcept { return tabs; }
    // Drops the tabs that are gone; their window is gone with the last of them.
    void DropGoneTabs();
    bool HasTabs() const noexcept { return !tabs.empty(); }

    // Takes up what the tabs' events recorded: the active tab is found again, and the console is
    // told when it now shows another folder. True when the active tab showed a new folder.
    bool TakeUpTabRecords();
    // Whether another tab is active than when the records were last taken up; asks nothing of Explorer.
    bool ActiveTabChanged() const noexcept { return FindActiveTab() != active; }

    // The console, if one is open.
    DockedConsole* Console() const noexcept { return console.get(); }
    // Opens a console docked to this window; false when it could not be made.
    bool OpenConsole(HMODULE helperLibrary, int heightAt96, DockedConsole::Callbacks callbacks);
    void CloseConsole();
    // Whether the console is inside one of its calls to this window or runs a window of its own;
    // neither the console nor this window may end meanwhile.
    bool IsServingConsole() const noexcept { return consoleCalls > 0 || (console && console->IsRunningModal()); }

    // session::HostBrowser, answered by the active tab.
    std::optional<std::wstring> Folder() override;
    bool Navigate(const std::wstring& folder) override;
    void Refresh() override;
    std::unique_ptr<session::HostFolderView> ActiveView() override;
    void InterpreterEnded() override;

private:
    // A call from the console, counted while it runs.
    class ConsoleCall {
    public:
        explicit ConsoleCall(ExplorerWindow& window) noexcept : window(window) { ++window.consoleCalls; }
        ~ConsoleCall() { --window.consoleCalls; }
        ConsoleCall(const ConsoleCall&) = delete;
        ConsoleCall& operator=(const ConsoleCall&) = delete;

    private:
        ExplorerWindow& window;
    };

    ExplorerTab* FindActiveTab() const noexcept;

    HWND topWindow;
    std::function<void()> interpreterEnded;
    std::vector<std::unique_ptr<ExplorerTab>> tabs;
    ExplorerTab* active = nullptr;
    int consoleCalls = 0;
    // Declared last, so it is destroyed first: the console goes before the tabs it reaches.
    std::unique_ptr<DockedConsole> console;
};

}  // namespace companion
