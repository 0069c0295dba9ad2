#include "DemoSession.h"

#include "DemoText.h"

#include "BrowserWindow.h"
#include "WindowClass.h"
#include "support/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace standin {
namespace {

constexpr DWORD StepBound = 20000;

// The console and the browser as the session sees them.
class Session {
public:
    explicit Session(BrowserWindow& window)
        : window(window), console(::FindWindowExW(window.BandWindow(), nullptr, L"Brimblestone Editbox", nullptr))
    {
    }

    bool HasConsole() const { return console != nullptr; }
    std::wstring Text() const { return WindowText(console); }

    // The interpreter's prompt for the browser's folder, once more than it was shown so far.
    bool WaitForNextPrompt(size_t promptsBefore)
    {
        return window.PumpUntil(
            [&] {
                const std::wstring prompt = Prompt();
                const std::wstring text = Text();
                return EndsWith(text, prompt) && CountOf(text, prompt) > promptsBefore;
            },
            StepBound);
    }
    size_t PromptsShown() const { return CountOf(Text(), Prompt()); }

    bool Submit(const std::wstring& line)
    {
        const size_t before = PromptsShown();
        window.TypeText(console, line);
        window.PressKey(console, VK_RETURN);
        return WaitForNextPrompt(before);
    }

    bool OpenInBrowser(const std::wstring& folder)
    {
        const size_t before = CountOf(Text(), folder + L">");
        return SUCCEEDED(window.NavigateTo(folder)) &&
               window.PumpUntil([&] { return window.Folder() == folder; }, StepBound) && WaitForNextPrompt(before);
    }

    // A command the band runs on the folder view, and what the view shows afterwards.
    bool ActOnView(const std::wstring& line, ItemState state, const std::vector<std::wstring>& expected)
    {
        if (!Submit(line))
            return false;
        return window.PumpUntil([&] { return window.ViewItemNames(state) == expected; }, StepBound);
    }

    bool GoUpFromConsole(const std::wstring& parent)
    {
        const size_t before = CountOf(Text(), parent + L">");
        window.TypeText(console, L"cd ..");
        window.PressKey(console, VK_RETURN);
        return window.PumpUntil([&] { return ::lstrcmpiW(window.Folder().c_str(), parent.c_str()) == 0; },
                                StepBound) &&
               WaitForNextPrompt(before);
    }

private:
    std::wstring Prompt() const { return window.Folder() + L">"; }

    BrowserWindow& window;
    const HWND console;
};

bool RunSteps(Session& session, BrowserWindow& window, std::wstring& stalled)
{
    const std::wstring folder = window.Folder();
    const std::wstring subfolder = FirstSubfolder(folder);
    if (!session.HasConsole())
        return stalled = L"the band shows no console", false;
    if (!session.WaitForNextPrompt(0))
        return stalled = L"the first prompt", false;
    if (!session.Submit(L"dir"))
        return stalled = L"the listing of " + folder, false;
    if (subfolder.empty())
        return stalled = L"a subfolder of " + folder, false;
    if (!session.OpenInBrowser(folder + L"\\" + subfolder))
        return stalled = L"the console following the browser into " + subfolder, false;
    if (!session.GoUpFromConsole(folder))
        return stalled = L"the browser following the console's \"cd ..\"", false;
    if (!session.ActOnView(L"filt *.txt *.csv", ItemState::Any, {L"inventory.csv", L"notes.txt"}))
        return stalled = L"the view keeping only the text and table files", false;
    if (!session.ActOnView(L"sel *.txt", ItemState::Selected, {L"notes.txt"}))
        return stalled = L"the view selecting the text file", false;
    return true;
}

DWORD WINAPI CloseAfterInput(void* frame)
{
    char buffer[256];
    DWORD read = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    }
    ::PostMessageW(static_cast<HWND>(frame), WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

bool RunDemoSession(BrowserWindow& window)
{
    Session session(window);
    std::wstring stalled;
    const bool finished = RunSteps(session, window, stalled);
    WriteToHandle(STD_OUTPUT_HANDLE, session.Text() + L"\n");
    if (!finished)
        WriteToHandle(STD_ERROR_HANDLE, L"StandInBrowser: the demo stalled waiting for " + stalled + L"\n");
    return finished;
}

void CloseWhenInputEnds(BrowserWindow& window)
{
    // The reader may block until the process ends; the process does not wait for it.
    const support::UniqueHandle reader(::CreateThread(nullptr, 0, &CloseAfterInput, window.Window(), 0, nullptr));
    if (!reader)
        ::PostMessageW(window.Window(), WM_CLOSE, 0, 0);
}

}  // namespace standin
