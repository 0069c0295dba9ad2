#include "settings/SettingsWindow.h"

#include "settings/DialogTemplate.h"
#include "settings/InstalledFonts.h"
#include "settings/SettingsListener.h"
#include "settings/SettingsStore.h"
#include "support/ActivationContext.h"
#include "support/SystemMessage.h"
#include "support/WindowImpl.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <string>

namespace settings {

namespace {

constexpr const wchar_t* Title = L"Brimblestone settings";

// In the order of ColourChoice.
constexpr const wchar_t* ColourLabels[] = {
    L"Light or dark, as Windows' app mode",
    L"Light",
    L"Dark",
    L"Window colours, as other programs",
};

// The one settings window of the process; another thread's band may ask for it too.
std::atomic<bool> windowOpen{false};
std::atomic<HWND> shownWindow{nullptr};

DialogTemplate Layout()
{
    constexpr DWORD label = SS_LEFT;
    constexpr DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
    constexpr DWORD number = ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    DialogTemplate dialog(Title, DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 250, 254);
    using T = DialogTemplate;
    dialog.Add(T::Button, L"Console text", BS_GROUPBOX, 7, 7, 236, 86, 0xFFFF);
    dialog.Add(T::Static, L"Font:", label, 14, 22, 40, 8, 0xFFFF);
    dialog.Add(T::Edit, L"", ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 56, 20, 118, 12, FontNameField);
    dialog.Add(T::Button, L"Choose &font...", BS_PUSHBUTTON | WS_TABSTOP, 178, 19, 58, 14, ChooseFontButton);
    dialog.Add(T::Button, L"Offer fixed-pitch fonts &only", check, 56, 36, 180, 10, FixedPitchOnlyBox);
    dialog.Add(T::Static, L"&Colours:", label, 14, 54, 40, 8, 0xFFFF);
    dialog.Add(T::ComboBox, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 56, 52, 180, 80, ColoursList);
    dialog.Add(T::Static, L"&Scrollback (characters):", label, 14, 72, 96, 8, 0xFFFF);
    dialog.Add(T::Edit, L"", number, 112, 70, 62, 12, ScrollbackField);

    dialog.Add(T::Button, L"Command history", BS_GROUPBOX, 7, 99, 236, 46, 0xFFFF);
    dialog.Add(T::Static, L"&Lines recalled with Up:", label, 14, 114, 96, 8, 0xFFFF);
    dialog.Add(T::Edit, L"", number, 112, 112, 40, 12, HistoryLengthField);
    dialog.Add(T::Button, L"&Keep them for new consoles (shared by all consoles)", check, 14, 129, 222, 10, KeepHistoryBox);

    dialog.Add(T::Button, L"Companion program", BS_GROUPBOX, 7, 151, 236, 76, 0xFFFF);
    dialog.Add(T::Static, L"Docked &height (pixels at 100 %):", label, 14, 166, 110, 8, 0xFFFF);
    dialog.Add(T::Edit, L"", number, 126, 164, 40, 12, DockedHeightField);
    dialog.Add(T::Button, L"Show the console for &new File Explorer windows", check, 14, 181, 222, 10,
               ShowForNewWindowsBox);
    dialog.Add(T::Button, L"Start at sign-&in", check, 14, 195, 222, 10, StartAtSignInBox);
    dialog.Add(T::Static, L"Shor&tcut:", label, 14, 211, 40, 8, 0xFFFF);
    dialog.Add(HOTKEY_CLASSW, L"", WS_BORDER | WS_TABSTOP, 56, 209, 110, 12, ShortcutField);

    dialog.Add(T::Button, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 83, 234, 50, 14, IDOK);
    dialog.Add(T::Button, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 138, 234, 50, 14, IDCANCEL);
    dialog.Add(T::Button, L"&Apply", BS_PUSHBUTTON | WS_TABSTOP, 193, 234, 50, 14, ApplyButton);
    return dialog;
}

// The hot key control's modifier flags and RegisterHotKey's differ.
DWORD ShortcutFromHotKey(LRESULT hotKey) noexcept
{
    const UINT key = LOBYTE(LOWORD(hotKey));
    const UINT flags = HIBYTE(LOWORD(hotKey));
    if (key == 0)
        return 0;
    const UINT modifiers = ((flags & HOTKEYF_ALT) ? MOD_ALT : 0) | ((flags & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
                           ((flags & HOTKEYF_SHIFT) ? MOD_SHIFT : 0);
    return MAKELONG(key, modifiers);
}

WPARAM HotKeyFromShortcut(DWORD shortcut) noexcept
{
    const UINT modifiers = HIWORD(shortcut);
    const BYTE flags = static_cast<BYTE>(((modifiers & MOD_ALT) ? HOTKEYF_ALT : 0) |
                                         ((modifiers & MOD_CONTROL) ? HOTKEYF_CONTROL : 0) |
                                         ((modifiers & MOD_SHIFT) ? HOTKEYF_SHIFT : 0));
    return MAKEWORD(static_cast<BYTE>(LOWORD(shortcut)), flags);
}

std::wstring FontText(const std::wstring& face, int points)
{
    return face + L", " + std::to_wstring(points) + L" pt";
}

class SettingsDialog {
public:
    explicit SettingsDialog(HostKind host) : shown(ReadSettings(host)), chosen(shown) {}

    SettingsWindowEnd Run(HWND owner)
    {
        const DialogTemplate layout = Layout();
        const INT_PTR ended = ::DialogBoxIndirectParamW(support::CWindowImpl::ModuleInstance(), layout.Get(), owner, &DialogProc,
                                                        reinterpret_cast<LPARAM>(this));
        if (ended == -1)
            return SettingsWindowEnd::NotShown;
        return saved ? SettingsWindowEnd::Saved : SettingsWindowEnd::NotSaved;
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG)
            ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* const dialog = reinterpret_cast<SettingsDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (!dialog)
            return FALSE;
        try {
            return dialog->Handle(window, message, wParam);
        } catch (...) {
            // Out of memory in a handler: the message counts as unhandled and the window stays usable.
            return FALSE;
        }
    }

    INT_PTR Handle(HWND window, UINT message, WPARAM wParam)
    {
        switch (message) {
        case WM_INITDIALOG:
            dialog = window;
            shownWindow = window;
            Fill();
            return TRUE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_DESTROY:
            shownWindow = nullptr;
            return FALSE;
        default:
            return FALSE;
        }
    }

    INT_PTR OnCommand(WORD id, WORD code)
    {
        if (code != BN_CLICKED)
            return FALSE;
        switch (id) {
        case IDOK:
            if (Save())
                ::EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        case ApplyButton:
            Save();
            return TRUE;
        case ChooseFontButton:
            PickFont();
            return TRUE;
        default:
            return FALSE;
        }
    }

    void Fill()
    {
        const HWND colours = ::GetDlgItem(dialog, ColoursList);
        for (const wchar_t* label : ColourLabels)
            ::SendMessageW(colours, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
        ::SendMessageW(colours, CB_SETCURSEL, static_cast<WPARAM>(shown.colours), 0);
        ShowFont();
        // A proportional font chosen before stays offered.
        Check(FixedPitchOnlyBox, IsFixedPitchFont(chosen.fontFace) || !IsFontInstalled(chosen.fontFace));
        ::SetDlgItemInt(dialog, ScrollbackField, static_cast<UINT>(shown.scrollbackLimit), FALSE);
        ::SetDlgItemInt(dialog, HistoryLengthField, static_cast<UINT>(shown.historyLength), FALSE);
        Check(KeepHistoryBox, shown.keepHistory);
        ::SetDlgItemInt(dialog, DockedHeightField, static_cast<UINT>(shown.dockedHeight), FALSE);
        Check(ShowForNewWindowsBox, shown.showForNewWindows);
        Check(StartAtSignInBox, shown.startAtSignIn);
        const HWND shortcut = ::GetDlgItem(dialog, ShortcutField);
        // A key alone or with Shift only becomes Ctrl+Alt+key: a global shortcut needs more.
        ::SendMessageW(shortcut, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        ::SendMessageW(shortcut, HKM_SETHOTKEY, HotKeyFromShortcut(shown.shortcut), 0);
    }

    void ShowFont() { ::SetDlgItemTextW(dialog, FontNameField, FontText(chosen.fontFace, chosen.fontPoints).c_str()); }

    void Check(int id, bool checked) { ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED); }
    bool IsChecked(int id) const { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

    void PickFont()
    {
        LOGFONTW font{};
        const HDC screen = ::GetDC(nullptr);
        font.lfHeight = -::MulDiv(chosen.fontPoints, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
        ::ReleaseDC(nullptr, screen);
        font.lfCharSet = DEFAULT_CHARSET;
        std::wcsncpy(font.lfFaceName, chosen.fontFace.c_str(), LF_FACESIZE - 1);
        CHOOSEFONTW choice{};
        choice.lStructSize = sizeof(choice);
        choice.hwndOwner = dialog;
        choice.lpLogFont = &font;
        choice.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_NOVERTFONTS | CF_LIMITSIZE |
                       (IsChecked(FixedPitchOnlyBox) ? CF_FIXEDPITCHONLY : 0);
        choice.nSizeMin = limits::MinFontPoints;
        choice.nSizeMax = limits::MaxFontPoints;
        if (!::ChooseFontW(&choice))
            return;
        chosen.fontFace = font.lfFaceName;
        chosen.fontPoints = std::clamp((choice.iPointSize + 5) / 10, limits::MinFontPoints, limits::MaxFontPoints);
        ShowFont();
    }

    // Reads a number field; outside its range the user is told the range and the field is selected.
    bool ReadNumber(int id, int lowest, int highest, const wchar_t* what, int& number)
    {
        BOOL read = FALSE;
        const UINT value = ::GetDlgItemInt(dialog, id, &read, FALSE);
        if (read && value >= static_cast<UINT>(lowest) && value <= static_cast<UINT>(highest)) {
            number = static_cast<int>(value);
            return true;
        }
        const std::wstring text = std::wstring(what) + L": enter a number from " + std::to_wstring(lowest) +
                                  L" to " + std::to_wstring(highest) + L".";
        Refuse(id, text);
        return false;
    }

    void Refuse(int id, const std::wstring& text)
    {
        ::MessageBoxW(dialog, text.c_str(), Title, MB_OK | MB_ICONWARNING);
        const HWND field = ::GetDlgItem(dialog, id);
        ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        ::SendMessageW(field, EM_SETSEL, 0, -1);
    }

    bool Collect(ConsoleSettings& collected)
    {
        collected = chosen;
        const LRESULT colour = ::SendDlgItemMessageW(dialog, ColoursList, CB_GETCURSEL, 0, 0);
        collected.colours = colour >= 0 && colour < 4 ? static_cast<ColourChoice>(colour) : shown.colours;
        collected.keepHistory = IsChecked(KeepHistoryBox);
        collected.showForNewWindows = IsChecked(ShowForNewWindowsBox);
        collected.startAtSignIn = IsChecked(StartAtSignInBox);
        collected.shortcut = ShortcutFromHotKey(::SendDlgItemMessageW(dialog, ShortcutField, HKM_GETHOTKEY, 0, 0));
        if (!ReadNumber(ScrollbackField, limits::MinScrollback, limits::MaxScrollback, L"Scrollback",
                        collected.scrollbackLimit) ||
            !ReadNumber(HistoryLengthField, limits::MinHistoryLength, limits::MaxHistoryLength, L"Lines recalled",
                        collected.historyLength) ||
            !ReadNumber(DockedHeightField, limits::MinDockedHeight, limits::MaxDockedHeight, L"Docked height",
                        collected.dockedHeight))
            return false;
        if (!IsUsableShortcut(collected.shortcut)) {
            Refuse(ShortcutField, L"Shortcut: Space and keys without Ctrl or Alt cannot be a shortcut for every program.");
            return false;
        }
        return true;
    }

    bool Save()
    {
        ConsoleSettings collected;
        if (!Collect(collected))
            return false;
        const LSTATUS written = SaveChangedSettings(shown, collected);
        if (written != ERROR_SUCCESS) {
            const std::wstring text = L"The settings could not be saved: " + support::SystemMessage(written) + L".";
            ::MessageBoxW(dialog, text.c_str(), Title, MB_OK | MB_ICONERROR);
            return false;
        }
        if (collected != shown) {
            shown = collected;
            chosen = collected;
            saved = true;
            AnnounceSettingsChange();
        }
        return true;
    }

    HWND dialog = nullptr;
    ConsoleSettings shown;   // as read, or as last saved
    ConsoleSettings chosen;  // the font picked since
    bool saved = false;
};

}  // namespace

SettingsWindowEnd ShowSettingsWindow(HWND owner, HostKind host)
{
    if (windowOpen.exchange(true)) {
        if (const HWND open = shownWindow.load()) {
            ::ShowWindow(open, SW_RESTORE);
            ::SetForegroundWindow(open);
        }
        return SettingsWindowEnd::ShownAlready;
    }
    SettingsWindowEnd end = SettingsWindowEnd::NotShown;
    try {
        // The controls of the version the module's manifest names, as the band's own windows.
        static const support::ModuleActivationContext manifest(support::CWindowImpl::ModuleInstance());
        const support::ActivationScope scope(manifest);
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_HOTKEY_CLASS};
        ::InitCommonControlsEx(&classes);
        SettingsDialog dialog(host);
        end = dialog.Run(owner);
    } catch (...) {
        // Without memory for the settings there is no window; the caller goes on as before.
    }
    windowOpen = false;
    return end;
}

}  // namespace settings
