#include "companion/ProgramWindow.h"

#include "companion/SignInEntry.h"
#include "companion/SingleInstance.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsWindow.h"
#include "support/Diagnostics.h"

#include <shellapi.h>

namespace companion {
namespace {

constexpr const wchar_t* ProgramTitle = L"Brimblestone Console";
constexpr const wchar_t* HelperLibraryName = L"Brimblestone.dll";
constexpr const wchar_t* UserGuideName = L"UserGuide.md";

std::wstring FolderOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

support::WindowClass ProgramWindowClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description = {};
        description.cbSize = sizeof(description);
        description.lpszClassName = ProgramWindowClassName;
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

// The consoles run the helpers of the installed library beside the program: only its file is
// needed (rundll32 runs it) and its exports, so it is mapped without running its start-up code
// or loading what it imports.
HMODULE LoadHelperLibrary(const std::wstring& folder)
{
    return ::LoadLibraryExW((folder + HelperLibraryName).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
}

void AppendItem(HMENU menu, WORD command, const std::wstring& text, UINT flags = MF_STRING)
{
    ::AppendMenuW(menu, flags, command, text.c_str());
}

}  // namespace

ProgramWindow::ProgramWindow(std::wstring programPath) : programPath(std::move(programPath)) {}

ProgramWindow::~ProgramWindow()
{
    companion.reset();
    tray.reset();
    shortcut.reset();
}

bool ProgramWindow::Create()
{
    if (!CreateBoundWindow(ProgramWindowClass(), nullptr, RECT{}, ProgramTitle, WS_POPUP, WS_EX_TOOLWINDOW, 0)) {
        BRIMBLESTONE_TRACE_LAST_ERROR();
        return false;
    }
    helperLibrary.Reset(LoadHelperLibrary(FolderOf(programPath)));
    applied = settings::ReadSettings(settings::HostKind::Companion);
    tray = std::make_unique<TrayIcon>(GetHwnd(), TrayMessage);
    AddTrayIcon();
    shortcut = std::make_unique<GlobalShortcut>(GetHwnd(), ShortcutId);
    shortcut->Hold(applied.shortcut);
    SetSignInEntry(applied.startAtSignIn, programPath);
    listener = std::make_unique<settings::SettingsListener>([this](settings::SettingsChange change) {
        if (change == settings::SettingsChange::Saved)
            Apply(settings::ReadSettings(settings::HostKind::Companion));
    });

    Companion::Options options;
    options.helperLibrary = helperLibrary.Get();
    options.dockedHeight = applied.dockedHeight;
    options.showForNewWindows = applied.showForNewWindows;
    options.dockedHeightChosen = [this](int heightAt96) {
        settings::ConsoleSettings after = applied;
        after.dockedHeight = heightAt96;
        settings::SaveChangedSettings(applied, after);
        applied = after;
    };
    companion = std::make_unique<Companion>(std::move(options));
    if (!companion->Start())
        return false;
    // Settings saved after the first read but before the listener began were announced to nobody.
    Apply(settings::ReadSettings(settings::HostKind::Companion));
    return true;
}

void ProgramWindow::AddTrayIcon()
{
    tray->Add(::LoadIconW(nullptr, IDI_APPLICATION), ProgramTitle);
}

void ProgramWindow::Apply(const settings::ConsoleSettings& next)
{
    if (next.shortcut != shortcut->Wanted() || !shortcut->IsHeld())
        shortcut->Hold(next.shortcut);
    if (next.startAtSignIn != applied.startAtSignIn)
        SetSignInEntry(next.startAtSignIn, programPath);
    companion->SetShowForNewWindows(next.showForNewWindows);
    if (next.dockedHeight != applied.dockedHeight)
        companion->SetDockedHeight(next.dockedHeight);
    applied = next;
}

void ProgramWindow::ChangeSetting(void (*change)(settings::ConsoleSettings&))
{
    settings::ConsoleSettings after = applied;
    change(after);
    settings::SaveChangedSettings(applied, after);
    Apply(after);
}

void ProgramWindow::ToggleConsole(HWND explorerWindow)
{
    if (explorerWindow == nullptr)
        return;
    if (companion->HasConsole(explorerWindow))
        companion->HideConsole(explorerWindow);
    else
        companion->ShowConsole(explorerWindow);
}

void ProgramWindow::OnInstanceRequest(WPARAM request)
{
    if (request == static_cast<WPARAM>(InstanceRequest::Exit)) {
        Exit();
        return;
    }
    if (request == static_cast<WPARAM>(InstanceRequest::ShowConsole)) {
        if (const HWND explorerWindow = companion->CurrentExplorerWindow())
            companion->ShowConsole(explorerWindow);
    }
}

// The menu acts on the Explorer window the user worked in before opening it.
void ProgramWindow::ShowTrayMenu()
{
    const HWND explorerWindow = companion->CurrentExplorerWindow();
    const HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr)
        return;
    const bool hasConsole = explorerWindow != nullptr && companion->HasConsole(explorerWindow);
    AppendItem(menu, ToggleConsoleCommand,
               hasConsole ? L"&Hide the console of this File Explorer window"
                          : L"&Show the console of this File Explorer window",
               MF_STRING | (explorerWindow == nullptr ? MF_GRAYED : 0));
    AppendItem(menu, ShowForNewWindowsCommand, L"Show consoles for &new windows",
               MF_STRING | (applied.showForNewWindows ? MF_CHECKED : 0));
    AppendItem(menu, StartAtSignInCommand, L"Start at sign-&in", MF_STRING | (applied.startAtSignIn ? MF_CHECKED : 0));
    const std::wstring keys = ShortcutText(shortcut->Wanted());
    if (!keys.empty()) {
        AppendItem(menu, ShortcutNoteCommand,
                   shortcut->IsHeld() ? L"Shortcut: " + keys
                                      : L"Shortcut " + keys + L" could not be registered: another program uses it",
                   MF_STRING | MF_GRAYED);
    }
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendItem(menu, SettingsCommand, L"S&ettings...");
    AppendItem(menu, UserGuideCommand, L"User &guide");
    AppendItem(menu, ExitCommand, L"E&xit");
    POINT pointer = {};
    ::GetCursorPos(&pointer);
    // The menu closes when the user clicks elsewhere only while its window is in the foreground.
    ::SetForegroundWindow(GetHwnd());
    const WORD command = static_cast<WORD>(::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                            pointer.x, pointer.y, 0, GetHwnd(), nullptr));
    ::PostMessageW(GetHwnd(), WM_NULL, 0, 0);
    ::DestroyMenu(menu);
    RunMenuCommand(command, explorerWindow);
}

void ProgramWindow::RunMenuCommand(WORD command, HWND explorerWindow)
{
    switch (command) {
    case ToggleConsoleCommand:
        ToggleConsole(explorerWindow);
        break;
    case ShowForNewWindowsCommand:
        ChangeSetting([](settings::ConsoleSettings& s) { s.showForNewWindows = !s.showForNewWindows; });
        break;
    case StartAtSignInCommand:
        ChangeSetting([](settings::ConsoleSettings& s) { s.startAtSignIn = !s.startAtSignIn; });
        break;
    case SettingsCommand:
        if (settings::ShowSettingsWindow(GetHwnd(), settings::HostKind::Companion) == settings::SettingsWindowEnd::Saved)
            Apply(settings::ReadSettings(settings::HostKind::Companion));
        break;
    case UserGuideCommand:
        OpenUserGuide();
        break;
    case ExitCommand:
        Exit();
        break;
    default:
        break;
    }
}

// The guide is Markdown, readable as plain text where nothing else opens it.
void ProgramWindow::OpenUserGuide()
{
    const std::wstring guide = FolderOf(programPath) + UserGuideName;
    if (::GetFileAttributesW(guide.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const std::wstring text = L"The user guide is not installed beside the program:\n" + guide;
        ::MessageBoxW(nullptr, text.c_str(), ProgramTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", guide.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) <= 32)
        ::ShellExecuteW(nullptr, L"open", L"notepad.exe", (L"\"" + guide + L"\"").c_str(), nullptr, SW_SHOWNORMAL);
}

void ProgramWindow::Exit()
{
    if (companion)
        companion->Stop();
    tray->Remove();
    shortcut->Release();
    ::DestroyWindow(GetHwnd());
}

BOOL ProgramWindow::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                         DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    result = 0;
    if (message == InstanceRequestMessage() && message != 0) {
        OnInstanceRequest(wParam);
        return TRUE;
    }
    if (message == TrayIcon::TaskbarCreatedMessage() && message != 0) {
        AddTrayIcon();
        return TRUE;
    }
    switch (message) {
    case TrayMessage:
        if (lParam == WM_LBUTTONUP)
            ToggleConsole(companion->CurrentExplorerWindow());
        else if (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU)
            ShowTrayMenu();
        return TRUE;
    case WM_HOTKEY:
        if (wParam == ShortcutId)
            ToggleConsole(companion->CurrentExplorerWindow());
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE)
            companion->Stop();
        return TRUE;
    case WM_CLOSE:
        Exit();
        return TRUE;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace companion
