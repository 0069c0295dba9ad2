#pragma once
// The companion's own code in the benchmark's process, following a stand-in browser process
// registered in the window list's double, as the companion's tests run it: the console docked to
// the browser's first window, driven through its text box.
#include "MessagePump.h"
#include "companion/Companion.h"
#include "settings/ConsoleSettings.h"
#include "shared/ShellWindowsDouble.h"
#include "shared/StandInProcess.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

class CompanionBench {
public:
    CompanionBench()
        : following([] {
              companion::Companion::Options options;
              options.dockedHeight = settings::DefaultSettings(settings::HostKind::Companion).dockedHeight;
              return options;
          }())
    {
    }

    // Starts the browser at the folder with the arguments and the companion; false when the
    // console did not show its first prompt.
    bool Open(const std::wstring& folder, const std::vector<std::wstring>& arguments)
    {
        if (!list.IsRegistered())
            return false;
        // A browser of many items may take longer to open its window than a test waits.
        if (!browser.Start(folder, arguments) &&
            !(browser.IsRunning() && Pump([&] { return !browser.Windows().empty(); })))
            return false;
        if (!following.Start())
            return false;
        window = browser.Windows().front();
        prompt = folder + L">";
        return Pump([&] { return (box = TextBox()) != nullptr && EndsWith(Text(), prompt); });
    }

    bool Pump(const std::function<bool()>& done, DWORD timeoutMs = 600000)
    {
        return standin::PumpUntil(done, timeoutMs, [&](MSG& message) { return following.RouteKey(message); });
    }

    std::wstring Text() const
    {
        std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(box)) + 1);
        const int length = ::GetWindowTextW(box, text.data(), static_cast<int>(text.size()));
        return std::wstring(text.data(), static_cast<size_t>(length > 0 ? length : 0));
    }

    void Type(const std::wstring& text) const
    {
        for (const wchar_t character : text)
            ::PostMessageW(box, WM_CHAR, character, 1);
    }

    void Press(UINT key) const
    {
        ::PostMessageW(box, WM_KEYDOWN, key, 1);
        ::PostMessageW(box, WM_KEYUP, key, 1 | (3UL << 30));
    }

    // Empties the command line and types on it; the text box has answered every key.
    void StartLine(const std::wstring& typed)
    {
        Press(VK_ESCAPE);
        Pump([&] { return EndsWith(Text(), prompt); });
        Type(typed);
        Pump([&] { return EndsWith(Text(), typed); });
    }

    // The console's window docked to the browser's first window.
    HWND Dock() const { return ::GetAncestor(box, GA_ROOT); }

    static bool EndsWith(const std::wstring& text, const std::wstring& end)
    {
        return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
    }

    testsupport::ShellWindowsDouble list;
    testsupport::StandInProcess browser;
    companion::Companion following;
    HWND window = nullptr;
    HWND box = nullptr;
    std::wstring prompt;

private:
    struct Search {
        HWND found = nullptr;
    };

    static BOOL CALLBACK FindDock(HWND candidate, LPARAM search)
    {
        wchar_t className[64] = {};
        ::GetClassNameW(candidate, className, 64);
        if (::lstrcmpW(className, L"Brimblestone Dock") != 0)
            return TRUE;
        const HWND console = ::FindWindowExW(candidate, nullptr, L"Brimblestone", nullptr);
        reinterpret_cast<Search*>(search)->found =
            console ? ::FindWindowExW(console, nullptr, L"Brimblestone Editbox", nullptr) : nullptr;
        return FALSE;
    }

    HWND TextBox() const
    {
        Search search;
        ::EnumThreadWindows(::GetCurrentThreadId(), FindDock, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
};

}  // namespace bench
