// StandInBrowser.exe [--clsid {GUID}] [--folder PATH] [--items-view | --classic-layout | --newer-layout]
//                    [--background-tab] [--virtual-items] [--items N] [--demo]
//                    [--shell-window] [--slow-view-ms N]
// Opens the stand-in file-browser window at the folder (the current directory by default) and,
// with --clsid, creates that toolbar band in-process and hosts it. With --demo as well, the
// hosted console band runs a short session, its text goes to standard output, and the window
// closes when standard input ends.
// With --shell-window (no band), the window is today's browser seen from outside: a
// "CabinetWClass" window whose tabs are each registered in the shell's window list and serve
// other processes; the process ends when its last window closes.
#include "BrowserWindow.h"
#include "DemoSession.h"
#include "ThisProgram.h"
#include "WindowSet.h"

#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

struct CommandLine {
    std::optional<CLSID> bandClass;
    std::wstring folder;
    standin::BrowserOptions options;
    bool demo = false;
    bool shellWindow = false;
};

constexpr int ExitBadArguments = 2;
constexpr int ExitNoWindow = 3;
constexpr int ExitNoBand = 4;
constexpr int ExitDemoStalled = 5;
// The demo's band strip shows this many more lines of the console than the band's minimum.
constexpr int DemoExtraLines = 14;

void PrintUsage()
{
    std::fwprintf(stderr, L"usage: StandInBrowser [--clsid {GUID}] [--folder PATH] "
                          L"[--items-view | --classic-layout | --newer-layout] [--background-tab] "
                          L"[--virtual-items] [--items N] [--demo] [--shell-window] [--slow-view-ms N]\n");
}

// A whole number from 0 to 1,000,000.
std::optional<int> CountArgument(const std::wstring& text)
{
    wchar_t* end = nullptr;
    const long count = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || *end != L'\0' || count < 0 || count > 1000000)
        return std::nullopt;
    return static_cast<int>(count);
}

std::optional<CommandLine> ParseArguments(const std::vector<std::wstring>& arguments)
{
    CommandLine parsed;
    parsed.options.layout = standin::ViewLayout::ShellView;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == L"--clsid" && hasValue) {
            CLSID bandClass = {};
            if (FAILED(::CLSIDFromString(arguments[++i].c_str(), &bandClass)))
                return std::nullopt;
            parsed.bandClass = bandClass;
        } else if (argument == L"--folder" && hasValue) {
            parsed.folder = arguments[++i];
        } else if (argument == L"--items" && hasValue) {
            const std::optional<int> count = CountArgument(arguments[++i]);
            if (!count)
                return std::nullopt;
            parsed.options.extras.syntheticItems = *count;
        } else if (argument == L"--slow-view-ms" && hasValue) {
            const std::optional<int> milliseconds = CountArgument(arguments[++i]);
            if (!milliseconds)
                return std::nullopt;
            parsed.options.extras.slowItemsMs = static_cast<DWORD>(*milliseconds);
        } else if (argument == L"--shell-window") {
            parsed.shellWindow = true;
        } else if (argument == L"--newer-layout") {
            parsed.options.layout = standin::ViewLayout::Newer;
        } else if (argument == L"--classic-layout") {
            parsed.options.layout = standin::ViewLayout::Classic;
        } else if (argument == L"--items-view") {
            parsed.options.layout = standin::ViewLayout::ItemsView;
        } else if (argument == L"--background-tab") {
            parsed.options.backgroundTab = true;
        } else if (argument == L"--demo") {
            parsed.demo = true;
            parsed.options.extraBandSteps = DemoExtraLines;
        } else if (argument == L"--virtual-items") {
            parsed.options.extras.virtualItems = true;
        } else {
            return std::nullopt;
        }
    }
    if ((parsed.demo && !parsed.bandClass) || (parsed.shellWindow && parsed.bandClass))
        return std::nullopt;
    return parsed;
}

std::wstring CurrentDirectory()
{
    std::vector<wchar_t> buffer(::GetCurrentDirectoryW(0, nullptr) + 1);
    const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::wstring(buffer.data(), length);
}

// The background tab is a second tab of the window, opened behind the first.
int RunShellWindows(const CommandLine& commandLine, const std::wstring& folder)
{
    standin::TabbedWindow::Options options;
    options.browser = commandLine.options;
    standin::WindowSet windows(options);
    standin::TabbedWindow* first = windows.Open(folder);
    if (!first || (commandLine.options.backgroundTab && !first->AddTab(folder, false))) {
        std::fwprintf(stderr, L"StandInBrowser: cannot open a window at %ls\n", folder.c_str());
        return ExitNoWindow;
    }
    return windows.RunMessageLoop();
}

int RunBrowser(const CommandLine& commandLine)
{
    const std::wstring folder = commandLine.folder.empty() ? CurrentDirectory() : commandLine.folder;
    if (commandLine.shellWindow)
        return RunShellWindows(commandLine, folder);
    standin::BrowserWindow window;
    standin::BrowserOptions options = commandLine.options;
    options.endMessageLoopOnClose = true;
    if (!window.Create(folder, options)) {
        std::fwprintf(stderr, L"StandInBrowser: cannot open a window at %ls\n", folder.c_str());
        return ExitNoWindow;
    }
    if (commandLine.bandClass) {
        Microsoft::WRL::ComPtr<IUnknown> band;
        HRESULT result = ::CoCreateInstance(*commandLine.bandClass, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_PPV_ARGS(&band));
        if (SUCCEEDED(result))
            result = window.SiteBand(band.Get());
        if (FAILED(result)) {
            std::fwprintf(stderr, L"StandInBrowser: the band could not be hosted (0x%08lX)\n",
                          static_cast<unsigned long>(result));
            return ExitNoBand;
        }
    }
    if (!commandLine.demo)
        return window.RunMessageLoop();
    const bool finished = standin::RunDemoSession(window);
    standin::CloseWhenInputEnds(window);
    const int exitCode = window.RunMessageLoop();
    return finished ? exitCode : ExitDemoStalled;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::optional<CommandLine> commandLine = ParseArguments(standin::ThisProgramArguments());
    if (!commandLine) {
        PrintUsage();
        return ExitBadArguments;
    }
    if (FAILED(::OleInitialize(nullptr)))
        return ExitNoWindow;
    const int exitCode = RunBrowser(*commandLine);
    ::OleUninitialize();
    return exitCode;
}
