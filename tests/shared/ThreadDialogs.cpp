#include "shared/ThreadDialogs.h"

namespace testsupport {
namespace {

constexpr DWORD PollBound = 20000;
constexpr DWORD PollStep = 20;

struct DialogSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK NoteDialog(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<DialogSearch*>(context);
    if (ClassOf(window) != L"#32770" || !::IsWindowVisible(window) ||
        (search->owner && ::GetWindow(window, GW_OWNER) != search->owner))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool PollUntil(const std::function<bool()>& done)
{
    for (DWORD waited = 0; waited < PollBound; waited += PollStep) {
        if (done())
            return true;
        ::Sleep(PollStep);
    }
    return false;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND FindDialog(DWORD thread, HWND owner)
{
    DialogSearch search{owner, nullptr};
    ::EnumThreadWindows(thread, NoteDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD thread, HWND owner)
{
    HWND found = nullptr;
    PollUntil([&] { return (found = FindDialog(thread, owner)) != nullptr; });
    return found;
}

}  // namespace testsupport
