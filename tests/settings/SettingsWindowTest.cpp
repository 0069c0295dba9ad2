#include "settings/InstalledFonts.h"
#include "settings/SettingsListener.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsWindow.h"

#include "RegistryTestSupport.h"
#include "shared/ThreadDialogs.h"
#include "support/WindowImpl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using settings::HostKind;
using settings::SettingsWindowEnd;

using namespace settings;  // the window's controls, by name
using testsupport::ClassOf;
using testsupport::FindDialog;
using testsupport::PollUntil;
using testsupport::TextOf;
using testsupport::WaitForDialog;

// The font dialog's list of faces.
constexpr int FaceList = 0x470;

const support::WindowClass& OwnerClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description{};
        description.lpszClassName = L"Brimblestone Test Owner";
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

// The host's window that the settings window belongs to.
class OwnerWindow : public support::CWindowImpl {
public:
    OwnerWindow() { CreateBoundWindow(OwnerClass(), nullptr, RECT{0, 0, 400, 300}, L"", WS_OVERLAPPEDWINDOW, 0, 0); }
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
};

// Hands this thread's windows the messages waiting for them, as a host's message loop does.
void DispatchWaiting()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
}

bool PumpUntil(const std::function<bool()>& done)
{
    for (int waited = 0; waited < 20000; waited += 20) {
        DispatchWaiting();
        if (done())
            return true;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

// Every static text of a message box, which is where it says what is wrong.
std::wstring MessageOf(HWND box)
{
    std::wstring text;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == L"Static")
            text += TextOf(child);
    }
    return text;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, owner.GetHwnd());
        ASSERT_TRUE(listener.IsListening());
    }

    // Shows the settings window on this thread, as a host does, while `user` works it from another.
    SettingsWindowEnd ShowWhile(HostKind host, const std::function<void(HWND)>& user)
    {
        const DWORD thread = ::GetCurrentThreadId();
        std::thread working([&] {
            const HWND dialog = WaitForDialog(thread, owner.GetHwnd());
            if (dialog)
                user(dialog);
            // Whatever the user left open is closed, so the test goes on.
            while (const HWND left = FindDialog(thread, nullptr))
                ::SendMessageW(left, WM_COMMAND, IDCANCEL, 0);
        });
        const SettingsWindowEnd end = settings::ShowSettingsWindow(owner.GetHwnd(), host);
        working.join();
        return end;
    }

    registry_test::Lines Stored() const
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(scratch.Get(), settings::SettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return {};
        const registry_test::Lines values = registry_test::DumpTree(key);
        ::RegCloseKey(key);
        return values;
    }

    static void SetText(HWND dialog, int id, const wchar_t* text)
    {
        ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    static void SetCheck(HWND dialog, int id, bool checked)
    {
        ::SendMessageW(::GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    static bool IsChecked(HWND dialog, int id)
    {
        return ::SendMessageW(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // Posted: a button may open a window of its own, which the user then answers.
    static void Press(HWND dialog, int id)
    {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }

    const DWORD thread = ::GetCurrentThreadId();
    registry_test::ScratchKey scratch;
    registry_test::PredefinedKeyOverride currentUser{HKEY_CURRENT_USER, scratch.Get()};
    OwnerWindow owner;
    std::atomic<int> announcements{0};
    settings::SettingsListener listener{[this](settings::SettingsChange change) {
        if (change == settings::SettingsChange::Saved)
            ++announcements;
    }};
};

TEST_F(SettingsWindowTest, ShowsTheSettingsRefusesBadNumbersAndSavesWhatChanged)
{
    const settings::ConsoleSettings defaults = settings::DefaultSettings(HostKind::Companion);
    std::wstring refusal;
    bool ownerDisabled = false;
    const SettingsWindowEnd end = ShowWhile(HostKind::Companion, [&](HWND dialog) {
        EXPECT_EQ(L"Brimblestone settings", TextOf(dialog));
        ownerDisabled = !::IsWindowEnabled(owner.GetHwnd());
        EXPECT_EQ(defaults.fontFace + L", 10 pt", TextOf(::GetDlgItem(dialog, FontNameField)));
        EXPECT_EQ(0, ::SendDlgItemMessageW(dialog, ColoursList, CB_GETCURSEL, 0, 0)) << "as Windows' app mode";
        EXPECT_EQ(L"1000000", TextOf(::GetDlgItem(dialog, ScrollbackField)));
        EXPECT_EQ(L"500", TextOf(::GetDlgItem(dialog, HistoryLengthField)));
        EXPECT_TRUE(IsChecked(dialog, KeepHistoryBox));
        EXPECT_EQ(L"200", TextOf(::GetDlgItem(dialog, DockedHeightField)));
        EXPECT_TRUE(IsChecked(dialog, ShowForNewWindowsBox));
        EXPECT_FALSE(IsChecked(dialog, StartAtSignInBox));
        EXPECT_EQ(MAKEWORD(VK_F11, HOTKEYF_CONTROL | HOTKEYF_ALT),
                  ::SendDlgItemMessageW(dialog, ShortcutField, HKM_GETHOTKEY, 0, 0));

        SetText(dialog, ScrollbackField, L"5");
        Press(dialog, ApplyButton);
        if (const HWND box = WaitForDialog(thread, dialog)) {
            refusal = MessageOf(box);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        PollUntil([&] { return FindDialog(thread, dialog) == nullptr; });
        EXPECT_EQ(registry_test::Lines{}, Stored()) << "nothing saved while a number is out of range";

        SetText(dialog, ScrollbackField, L"20000");
        ::SendDlgItemMessageW(dialog, ColoursList, CB_SETCURSEL, 2, 0);
        SetCheck(dialog, StartAtSignInBox, true);
        ::SendDlgItemMessageW(dialog, ShortcutField, HKM_SETHOTKEY, MAKEWORD(VK_F9, HOTKEYF_SHIFT | HOTKEYF_CONTROL), 0);
        Press(dialog, ApplyButton);
        EXPECT_TRUE(PollUntil([&] { return announcements == 1; })) << "every console hears of it";
        EXPECT_EQ((registry_test::Lines{L" : Colours = s:dark", L" : ScrollbackLimit = d:204E0000",
                                        L" : Shortcut = d:78000600", L" : StartAtSignIn = d:01000000"}),
                  Stored());

        SetText(dialog, HistoryLengthField, L"42");
        Press(dialog, IDOK);
        PollUntil([&] { return !::IsWindow(dialog); });
    });
    EXPECT_EQ(SettingsWindowEnd::Saved, end);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHwnd()));
    EXPECT_EQ(L"Scrollback: enter a number from 10000 to 10000000.", refusal);
    EXPECT_TRUE(PumpUntil([&] { return announcements == 2; })) << "OK announces what it saved too";
    EXPECT_EQ((registry_test::Lines{L" : Colours = s:dark", L" : HistoryLength = d:2A000000",
                                    L" : ScrollbackLimit = d:204E0000", L" : Shortcut = d:78000600",
                                    L" : StartAtSignIn = d:01000000"}),
              Stored());
    const settings::ConsoleSettings band = settings::ReadSettings(HostKind::Band);
    EXPECT_EQ(settings::DefaultSettings(HostKind::Band).fontFace, band.fontFace) << "the font was left alone";
    EXPECT_EQ(42, band.historyLength);
}

TEST_F(SettingsWindowTest, CancelSavesNothingAndASecondWindowIsNotOpened)
{
    SettingsWindowEnd second = SettingsWindowEnd::NotShown;
    const SettingsWindowEnd end = ShowWhile(HostKind::Band, [&](HWND dialog) {
        EXPECT_EQ(3, ::SendDlgItemMessageW(dialog, ColoursList, CB_GETCURSEL, 0, 0)) << "the band's window colours";
        EXPECT_FALSE(IsChecked(dialog, KeepHistoryBox));
        second = settings::ShowSettingsWindow(nullptr, HostKind::Companion);
        SetText(dialog, HistoryLengthField, L"99");
        Press(dialog, IDCANCEL);
        PollUntil([&] { return !::IsWindow(dialog); });
    });
    EXPECT_EQ(SettingsWindowEnd::NotSaved, end);
    EXPECT_EQ(SettingsWindowEnd::ShownAlready, second);
    EXPECT_EQ(registry_test::Lines{}, Stored());
    DispatchWaiting();
    EXPECT_EQ(0, announcements);
}

std::vector<std::wstring> OfferedFaces(HWND fontDialog)
{
    std::vector<std::wstring> faces;
    const HWND list = ::GetDlgItem(fontDialog, FaceList);
    const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        wchar_t face[LF_FACESIZE * 2] = {};
        ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(face));
        faces.push_back(face);
    }
    return faces;
}

TEST_F(SettingsWindowTest, TheFontChooserOffersFixedPitchFontsUnlessAllAreAllowed)
{
    std::vector<std::wstring> fixedOnly;
    std::vector<std::wstring> all;
    std::wstring picked;
    std::wstring shown;
    ShowWhile(HostKind::Companion, [&](HWND dialog) {
        EXPECT_TRUE(IsChecked(dialog, FixedPitchOnlyBox)) << "the console's font is a fixed-pitch one";
        Press(dialog, ChooseFontButton);
        if (const HWND fonts = WaitForDialog(thread, dialog)) {
            fixedOnly = OfferedFaces(fonts);
            const HWND list = ::GetDlgItem(fonts, FaceList);
            const LRESULT current = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
            const LRESULT other = current == 0 ? 1 : 0;
            if (static_cast<size_t>(other) < fixedOnly.size()) {
                picked = fixedOnly[static_cast<size_t>(other)];
                ::SendMessageW(list, CB_SETCURSEL, other, 0);
                ::SendMessageW(fonts, WM_COMMAND, MAKEWPARAM(FaceList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            }
            ::PostMessageW(fonts, WM_COMMAND, IDOK, 0);
            PollUntil([&] { return !::IsWindow(fonts); });
        }
        shown = TextOf(::GetDlgItem(dialog, FontNameField));

        SetCheck(dialog, FixedPitchOnlyBox, false);
        Press(dialog, ChooseFontButton);
        if (const HWND fonts = WaitForDialog(thread, dialog)) {
            all = OfferedFaces(fonts);
            ::PostMessageW(fonts, WM_COMMAND, IDCANCEL, 0);
            PollUntil([&] { return !::IsWindow(fonts); });
        }
        Press(dialog, IDOK);
        PollUntil([&] { return !::IsWindow(dialog); });
    });
    ASSERT_FALSE(fixedOnly.empty());
    for (const std::wstring& face : fixedOnly)
        EXPECT_TRUE(settings::IsFixedPitchFont(face)) << std::string(face.begin(), face.end());
    EXPECT_GT(all.size(), fixedOnly.size());
    EXPECT_EQ(picked + L", 10 pt", shown);
    EXPECT_EQ(picked, settings::ReadSettings(HostKind::Companion).fontFace);
}

}  // namespace
