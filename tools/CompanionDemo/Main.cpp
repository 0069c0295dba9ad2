// CompanionDemo.exe --browser PATH --companion PATH --folder FOLDER
// The main job's session with the companion program, driven from outside as a user would: the
// stand-in browser (as Explorer's windows are seen from other processes) opens the folder, the
// companion docks a console to it, and then: the first prompt, "dir", the browser opening the
// folder's first subfolder (the console follows), "cd .." typed in the console (the browser
// follows). The console's text goes to standard output; everything stays on screen until standard
// input ends, then the companion is asked to end and the browser is closed. Exit code 5 when a
// step stalled (20 s each), which one written to standard error.
#include "DemoText.h"
#include "support/UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using standin::CountOf;
using standin::EndsWith;
using standin::FirstSubfolder;
using standin::WriteToHandle;

constexpr int ExitBadArguments = 2;
constexpr int ExitNotStarted = 3;
constexpr int ExitStalled = 5;
constexpr DWORD StepBound = 20000;

struct Arguments {
    std::wstring browser;
    std::wstring companion;
    std::wstring folder;
};

bool ParseArguments(Arguments& parsed)
{
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int at = 1; arguments != nullptr && at + 1 < count; at += 2) {
        const std::wstring name = arguments[at];
        if (name == L"--browser")
            parsed.browser = arguments[at + 1];
        else if (name == L"--companion")
            parsed.companion = arguments[at + 1];
        else if (name == L"--folder")
            parsed.folder = arguments[at + 1];
    }
    ::LocalFree(arguments);
    return !parsed.browser.empty() && !parsed.companion.empty() && !parsed.folder.empty();
}

support::UniqueHandle Start(const std::wstring& program, const std::wstring& arguments, DWORD* processId)
{
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return support::UniqueHandle();
    ::CloseHandle(started.hThread);
    *processId = started.dwProcessId;
    return support::UniqueHandle(started.hProcess);
}

bool WaitUntil(const std::function<bool()>& done)
{
    const ULONGLONG giveUp = ::GetTickCount64() + StepBound;
    while (!done()) {
        if (::GetTickCount64() >= giveUp)
            return false;
        ::Sleep(50);
    }
    return true;
}

std::wstring TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return std::wstring();
    std::vector<wchar_t> text(length + 1);
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          5000, &copied);
    return std::wstring(text.data(), std::min<size_t>(copied, length));
}

// The visible top window of the process in the class.
HWND WindowOf(DWORD processId, const wchar_t* className)
{
    for (HWND window = ::FindWindowExW(nullptr, nullptr, className, nullptr); window != nullptr;
         window = ::FindWindowExW(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// The browser's window and the console docked to it, as seen from outside both.
class Session {
public:
    Session(HWND browserWindow, HWND console) : browserWindow(browserWindow), console(console) {}

    std::wstring Text() const { return TextOf(console); }

    // The prompt for the folder, once more than it was shown before.
    bool WaitForPrompt(const std::wstring& folder, size_t shownBefore) const
    {
        const std::wstring prompt = folder + L">";
        return WaitUntil([&] {
            const std::wstring text = Text();
            return EndsWith(text, prompt) && CountOf(text, prompt) > shownBefore;
        });
    }
    size_t PromptsFor(const std::wstring& folder) const { return CountOf(Text(), folder + L">"); }

    bool Submit(const std::wstring& line, const std::wstring& folder) const
    {
        const size_t before = PromptsFor(folder);
        Type(line);
        return WaitForPrompt(folder, before);
    }

    // The user types the folder into the active tab's address field.
    bool OpenInBrowser(const std::wstring& folder) const
    {
        const size_t before = PromptsFor(folder);
        const HWND address = AddressField();
        if (address == nullptr)
            return false;
        ::SendMessageW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        ::PostMessageW(address, WM_KEYDOWN, VK_RETURN, 1);
        return WaitForPrompt(folder, before);
    }

    bool GoUpFromConsole(const std::wstring& parent) const
    {
        const size_t before = PromptsFor(parent);
        Type(L"cd ..");
        return WaitUntil([&] { return ::lstrcmpiW(TextOf(AddressField()).c_str(), parent.c_str()) == 0; }) &&
               WaitForPrompt(parent, before);
    }

private:
    HWND AddressField() const
    {
        const HWND tab = ::FindWindowExW(browserWindow, nullptr, L"ShellTabWindowClass", nullptr);
        return tab ? ::FindWindowExW(tab, nullptr, L"Edit", nullptr) : nullptr;
    }

    void Type(const std::wstring& line) const
    {
        for (const wchar_t character : line)
            ::PostMessageW(console, WM_CHAR, character, 1);
        ::PostMessageW(console, WM_KEYDOWN, VK_RETURN, 1);
        ::PostMessageW(console, WM_KEYUP, VK_RETURN, 1 | (3UL << 30));
    }

    HWND browserWindow;
    HWND console;
};

// The dock window of the companion over the browser window, and its text box.
HWND DockedTextBox(DWORD companionId, HWND browserWindow)
{
    RECT outer = {};
    ::GetWindowRect(browserWindow, &outer);
    for (HWND dock = ::FindWindowExW(nullptr, nullptr, L"Brimblestone Dock", nullptr); dock != nullptr;
         dock = ::FindWindowExW(nullptr, dock, L"Brimblestone Dock", nullptr)) {
        DWORD owner = 0;
        RECT inner = {};
        ::GetWindowThreadProcessId(dock, &owner);
        ::GetWindowRect(dock, &inner);
        if (owner != companionId || !::IsWindowVisible(dock) || inner.top < outer.top || inner.bottom > outer.bottom)
            continue;
        const HWND console = ::FindWindowExW(dock, nullptr, L"Brimblestone", nullptr);
        if (const HWND box = console ? ::FindWindowExW(console, nullptr, L"Brimblestone Editbox", nullptr) : nullptr)
            return box;
    }
    return nullptr;
}

bool RunSteps(const Arguments& arguments, HWND browserWindow, DWORD companionId, std::wstring& text,
              std::wstring& stalled)
{
    HWND console = nullptr;
    if (!WaitUntil([&] { return (console = DockedTextBox(companionId, browserWindow)) != nullptr; }))
        return stalled = L"the console docked to the browser window", false;
    const Session session(browserWindow, console);
    const std::wstring& folder = arguments.folder;
    const std::wstring subfolder = FirstSubfolder(folder);
    bool finished = false;
    if (!session.WaitForPrompt(folder, 0))
        stalled = L"the first prompt";
    else if (!session.Submit(L"dir", folder))
        stalled = L"the listing of " + folder;
    else if (subfolder.empty())
        stalled = L"a subfolder of " + folder;
    else if (!session.OpenInBrowser(folder + L"\\" + subfolder))
        stalled = L"the console following the browser into " + subfolder;
    else if (!session.GoUpFromConsole(folder))
        stalled = L"the browser following the console's \"cd ..\"";
    else
        finished = true;
    text = session.Text();
    return finished;
}

void WaitForInputEnd()
{
    char buffer[256];
    DWORD read = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    }
}

}  // namespace

int wmain()
{
    Arguments arguments;
    if (!ParseArguments(arguments)) {
        WriteToHandle(STD_ERROR_HANDLE, L"usage: CompanionDemo --browser PATH --companion PATH --folder FOLDER\n");
        return ExitBadArguments;
    }
    DWORD browserId = 0;
    DWORD companionId = 0;
    const support::UniqueHandle browser =
        Start(arguments.browser, L"--shell-window --items-view --folder \"" + arguments.folder + L"\"", &browserId);
    HWND browserWindow = nullptr;
    if (!browser || !WaitUntil([&] { return (browserWindow = WindowOf(browserId, L"CabinetWClass")) != nullptr; })) {
        WriteToHandle(STD_ERROR_HANDLE, L"CompanionDemo: the browser did not open its window\n");
        return ExitNotStarted;
    }
    ::SetWindowPos(browserWindow, nullptr, 40, 30, 820, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    const support::UniqueHandle companion = Start(arguments.companion, L"", &companionId);
    if (!companion) {
        WriteToHandle(STD_ERROR_HANDLE, L"CompanionDemo: the companion program did not start\n");
        return ExitNotStarted;
    }
    std::wstring text;
    std::wstring stalled;
    const bool finished = RunSteps(arguments, browserWindow, companionId, text, stalled);
    WriteToHandle(STD_OUTPUT_HANDLE, text + L"\n");
    if (!finished)
        WriteToHandle(STD_ERROR_HANDLE, L"CompanionDemo: the session stalled waiting for " + stalled + L"\n");
    WaitForInputEnd();
    DWORD ignored = 0;
    const support::UniqueHandle exiting = Start(arguments.companion, L"/exit", &ignored);
    ::WaitForSingleObject(companion.Get(), StepBound);
    ::PostMessageW(browserWindow, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(browser.Get(), StepBound);
    return finished ? 0 : ExitStalled;
}
