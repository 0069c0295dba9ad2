#include "companion/ExplorerWindow.h"

#include <algorithm>

namespace companion {
namespace {

// Each tab of today's File Explorer is a window of this class in the folder window; the active tab
// is the top-most of them.
constexpr wchar_t TabWindowClass[] = L"ShellTabWindowClass";

}  // namespace

ExplorerWindow::ExplorerWindow(HWND topWindow, std::function<void()> interpreterEnded)
    : topWindow(topWindow), interpreterEnded(std::move(interpreterEnded))
{
}

ExplorerWindow::~ExplorerWindow()
{
    CloseConsole();
}

DWORD ExplorerWindow::ProcessId() const noexcept
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(topWindow, &processId);
    return processId;
}

void ExplorerWindow::AddTab(std::unique_ptr<ExplorerTab> tab)
{
    tabs.push_back(std::move(tab));
}

ExplorerTab* ExplorerWindow::FindTab(IUnknown* identity) const noexcept
{
    for (const std::unique_ptr<ExplorerTab>& tab : tabs) {
        if (tab->Identity() == identity)
            return tab.get();
    }
    return nullptr;
}

std::unique_ptr<ExplorerTab> ExplorerWindow::TakeTab(ExplorerTab* tab)
{
    const auto found =
        std::find_if(tabs.begin(), tabs.end(), [&](const std::unique_ptr<ExplorerTab>& held) { return held.get() == tab; });
    if (found == tabs.end())
        return nullptr;
    std::unique_ptr<ExplorerTab> taken = std::move(*found);
    tabs.erase(found);
    if (active == tab)
        active = nullptr;
    return taken;
}

void ExplorerWindow::DropGoneTabs()
{
    if (active != nullptr && active->IsGone())
        active = nullptr;
    tabs.erase(std::remove_if(tabs.begin(), tabs.end(),
                              [](const std::unique_ptr<ExplorerTab>& tab) { return tab->IsGone(); }),
               tabs.end());
}

// The top-most tab window that one of the tabs owns; a window without tab windows has one tab.
ExplorerTab* ExplorerWindow::FindActiveTab() const noexcept
{
    for (HWND window = ::FindWindowExW(topWindow, nullptr, TabWindowClass, nullptr); window != nullptr;
         window = ::FindWindowExW(topWindow, window, TabWindowClass, nullptr)) {
        for (const std::unique_ptr<ExplorerTab>& tab : tabs) {
            if (tab->TabWindow() == window && !tab->IsGone())
                return tab.get();
        }
    }
    for (const std::unique_ptr<ExplorerTab>& tab : tabs) {
        if (!tab->IsGone())
            return tab.get();
    }
    return nullptr;
}

bool ExplorerWindow::TakeUpTabRecords()
{
    bool activeShowedFolder = false;
    for (const std::unique_ptr<ExplorerTab>& tab : tabs) {
        const bool shown = tab->TakeFolderShown();
        if (shown && tab.get() == active)
            activeShowedFolder = true;
    }
    // Another tab brought up shows the user's folder, whatever the console asked of the tab before.
    ExplorerTab* nowActive = FindActiveTab();
    const bool switched = nowActive != active && nowActive != nullptr;
    if (nowActive == nullptr)
        activeShowedFolder = false;
    active = nowActive;
    if (switched && console)
        console->Session().OtherBrowserShown();
    else if (activeShowedFolder && console)
        console->Session().FolderShown();
    return activeShowedFolder || switched;
}

bool ExplorerWindow::OpenConsole(HMODULE helperLibrary, int heightAt96, DockedConsole::Callbacks callbacks)
{
    if (console)
        return true;
    if (active == nullptr)
        active = FindActiveTab();
    console = std::make_unique<DockedConsole>(topWindow, *this, helperLibrary, heightAt96, std::move(callbacks));
    if (console->Open())
        return true;
    console.reset();
    return false;
}

void ExplorerWindow::CloseConsole()
{
    console.reset();
}

std::optional<std::wstring> ExplorerWindow::Folder()
{
    return active != nullptr ? active->Folder() : std::nullopt;
}

bool ExplorerWindow::Navigate(const std::wstring& folder)
{
    const ConsoleCall call(*this);
    return active != nullptr && !active->IsGone() && active->Navigate(folder);
}

void ExplorerWindow::Refresh()
{
    const ConsoleCall call(*this);
    if (active != nullptr && !active->IsGone())
        active->Refresh();
}

std::unique_ptr<session::HostFolderView> ExplorerWindow::ActiveView()
{
    const ConsoleCall call(*this);
    return active != nullptr && !active->IsGone() ? active->ActiveView() : nullptr;
}

void ExplorerWindow::InterpreterEnded()
{
    if (interpreterEnded)
        interpreterEnded();
}

}  // namespace companion
