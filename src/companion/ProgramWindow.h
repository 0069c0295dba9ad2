#pragma once

#include "companion/Companion.h"
#include "companion/GlobalShortcut.h"
#include "companion/TrayIcon.h"
#include "settings/ConsoleSettings.h"
#include "settings/SettingsListener.h"
#include "support/UniqueLibrary.h"
#include "support/WindowImpl.h"

#include <windows.h>

#include <memory>
#include <string>

namespace companion {

// The companion program's own hidden window: its tray icon and menu, its global shortcut, the
// requests of a second start, the user's settings and their changes, and the companion that
// follows Explorer. Closing it ends the program's message loop.
class ProgramWindow final : private support::CWindowImpl {
public:
    // `programPath`: this program's file; the console helpers' library and the user guide lie beside it.
    explicit ProgramWindow(std::wstring programPath);
    ~ProgramWindow() override;
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    // Makes the window and starts following Explorer; false when the window could not be made.
    bool Create();
    // Offers a message read by the program's loop to the consoles; true when one took it.
    bool RouteKey(MSG& message) { return companion && companion->RouteKey(message); }

private:
    static constexpr UINT TrayMessage = WM_APP + 1;
    static constexpr int ShortcutId = 1;
    enum MenuCommand : WORD {
        ToggleConsoleCommand = 1,
        ShowForNewWindowsCommand,
        StartAtSignInCommand,
        SettingsCommand,
        UserGuideCommand,
        ExitCommand,
        ShortcutNoteCommand,
    };

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;
    void OnInstanceRequest(WPARAM request);
    void ShowTrayMenu();
    void RunMenuCommand(WORD command, HWND explorerWindow);
    void ToggleConsole(HWND explorerWindow);
    // Saves one change the user made in the menu, then applies it.
    void ChangeSetting(void (*change)(settings::ConsoleSettings&));
    void Apply(const settings::ConsoleSettings& next);
    void OpenUserGuide();
    void AddTrayIcon();
    void Exit();

    std::wstring programPath;
    support::UniqueLibrary helperLibrary;
    settings::ConsoleSettings applied;
    std::unique_ptr<Companion> companion;
    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<GlobalShortcut> shortcut;
    std::unique_ptr<settings::SettingsListener> listener;
};

}  // namespace companion
