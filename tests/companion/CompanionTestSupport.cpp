#include "CompanionTestSupport.h"

#include "UniqueBstr.h"
#include "shared/BuiltPrograms.h"
#include "shared/ProcessProbe.h"
#include "support/ComResources.h"

#include <shlguid.h>
#include <shobjidl.h>

#include <algorithm>

namespace companiontest {
namespace {

constexpr const wchar_t* ProgramName = L"BrimblestoneConsole.exe";
constexpr const wchar_t* DockClass = L"Brimblestone Dock";
constexpr const wchar_t* ProgramWindowClass = L"Brimblestone Companion";
// A text box that does not answer in this time is taken as hung.
constexpr UINT AnswerTimeoutMs = 5000;

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom && inner.right > inner.left && inner.bottom > inner.top;
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    return standin::PumpUntil(done, timeoutMs, nullptr);
}

CompanionProcess::~CompanionProcess()
{
    if (IsRunning() && !Exit())
        Kill();
}

bool CompanionProcess::Start()
{
    process = testsupport::StartProgram(testsupport::BuiltProductPath(ProgramName), {}, &processId);
    return process && PumpUntil([&] { return !IsRunning() || ProgramWindow() != nullptr; }) && IsRunning();
}

bool CompanionProcess::IsRunning() const
{
    return process && ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

HWND CompanionProcess::ProgramWindow() const
{
    for (HWND window = ::FindWindowExW(nullptr, nullptr, ProgramWindowClass, nullptr); window != nullptr;
         window = ::FindWindowExW(nullptr, window, ProgramWindowClass, nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return nullptr;
}

std::vector<HWND> CompanionProcess::Docks(bool shownOnly) const
{
    std::vector<HWND> docks = testsupport::TopWindowsOf(processId, DockClass);
    if (shownOnly)
        docks.erase(std::remove_if(docks.begin(), docks.end(), [](HWND dock) { return !::IsWindowVisible(dock); }),
                    docks.end());
    return docks;
}

HWND CompanionProcess::DockOver(HWND explorerWindow) const
{
    RECT outer = {};
    if (!::GetWindowRect(explorerWindow, &outer))
        return nullptr;
    for (const HWND dock : Docks(true)) {
        RECT inner = {};
        if (::GetWindowRect(dock, &inner) && Inside(inner, outer))
            return dock;
    }
    return nullptr;
}

HWND CompanionProcess::WaitForDockOver(HWND explorerWindow) const
{
    HWND dock = nullptr;
    PumpUntil([&] { return (dock = DockOver(explorerWindow)) != nullptr && TextBoxOf(dock) != nullptr; });
    return dock;
}

size_t CompanionProcess::Interpreters() const
{
    return testsupport::ChildProcessIds(L"cmd.exe", processId).size();
}

int CompanionProcess::RunAgain(const std::vector<std::wstring>& arguments)
{
    return testsupport::RunToEnd(testsupport::BuiltProductPath(ProgramName), arguments);
}

bool CompanionProcess::Exit()
{
    if (!IsRunning())
        return true;
    // The second start waits for the first to end; this thread's messages wait meanwhile.
    return RunAgain({L"/exit"}) == 0 && WaitForExit();
}

bool CompanionProcess::Kill()
{
    if (!IsRunning())
        return true;
    ::TerminateProcess(process.Get(), 1);
    return WaitForExit();
}

bool CompanionProcess::WaitForExit() const
{
    return PumpUntil([&] { return !IsRunning(); });
}

HWND TextBoxOf(HWND dock)
{
    const HWND console = ::FindWindowExW(dock, nullptr, L"Brimblestone", nullptr);
    return console ? ::FindWindowExW(console, nullptr, L"Brimblestone Editbox", nullptr) : nullptr;
}

std::wstring TextOf(HWND textBox)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(textBox, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, AnswerTimeoutMs, &length))
        return std::wstring();
    std::vector<wchar_t> text(length + 1);
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(textBox, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, AnswerTimeoutMs, &copied))
        return std::wstring();
    return std::wstring(text.data(), std::min<size_t>(copied, length));
}

void PressKey(HWND textBox, UINT key)
{
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(textBox, WM_KEYDOWN, key, scan | 1);
    ::PostMessageW(textBox, WM_KEYUP, key, scan | 1 | (3UL << 30));
}

void TypeText(HWND textBox, const std::wstring& text)
{
    for (const wchar_t character : text)
        ::PostMessageW(textBox, WM_CHAR, character, 1);
}

void TypeLine(HWND textBox, const std::wstring& line)
{
    TypeText(textBox, line);
    PressKey(textBox, VK_RETURN);
}

bool WaitForText(HWND textBox, const std::function<bool(const std::wstring&)>& holds)
{
    return PumpUntil([&] { return holds(TextOf(textBox)); });
}

bool WaitForTextEnd(HWND textBox, const std::wstring& end)
{
    return WaitForText(textBox, [&](const std::wstring& text) { return EndsWith(text, end); });
}

std::wstring PromptOf(const std::wstring& folder)
{
    return folder + L">";
}

void PlaceWindow(HWND window, int x, int y, int width, int height)
{
    ::SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT ExpectedDock(HWND explorerWindow, int height)
{
    RECT client = {};
    ::GetClientRect(explorerWindow, &client);
    ::MapWindowPoints(explorerWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
    client.top = std::max(client.top, client.bottom - height);
    return client;
}

ListClient::ListClient(const testsupport::ShellWindowsDouble& shellList) : list(shellList.Connect()) {}

ComPtr<IWebBrowser2> ListClient::BrowserOf(HWND tabWindow) const
{
    LONG count = 0;
    if (!list || FAILED(list->get_Count(&count)))
        return nullptr;
    for (LONG index = 0; index < count; ++index) {
        support::UniqueVariant at;
        at.vt = VT_I4;
        at.lVal = index;
        ComPtr<IDispatch> item;
        ComPtr<IWebBrowser2> browser;
        ComPtr<IServiceProvider> services;
        ComPtr<IShellBrowser> shellBrowser;
        HWND window = nullptr;
        if (list->Item(at, &item) == S_OK && item && SUCCEEDED(item.As(&browser)) &&
            SUCCEEDED(browser.As(&services)) &&
            SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&shellBrowser))) &&
            SUCCEEDED(shellBrowser->GetWindow(&window)) && window == tabWindow)
            return browser;
    }
    return nullptr;
}

std::wstring ListClient::FolderOf(IWebBrowser2* browser)
{
    standin::UniqueBstr location;
    if (!browser || FAILED(browser->get_LocationURL(location.Receive())))
        return L"(failed)";
    return std::wstring(location.Get(), ::SysStringLen(location.Get()));
}

void CompanionTest::SetUp()
{
    ASSERT_TRUE(shellList.IsRegistered());
    folder.File(L"b10.txt");
    folder.File(L"b9.txt");
    folder.File(L"notes.csv");
    sub = folder.Folder(L"Sub");
}

void CompanionTest::TearDown()
{
    EXPECT_TRUE(companion.Exit()) << "the companion ends when asked";
    browser.Kill();
}

void CompanionTest::StartBoth(const std::vector<std::wstring>& browserArguments)
{
    ASSERT_TRUE(browser.Start(folder.Path(), browserArguments));
    window = browser.Windows().front();
    PlaceWindow(window, 20, 20, 700, 500);
    ASSERT_TRUE(companion.Start());
    textBox = ConsoleOf(window, folder.Path());
    ASSERT_NE(nullptr, textBox);
}

HWND CompanionTest::ConsoleOf(HWND explorerWindow, const std::wstring& folderShown)
{
    const HWND dock = companion.WaitForDockOver(explorerWindow);
    if (dock == nullptr)
        return nullptr;
    const HWND box = TextBoxOf(dock);
    return WaitForTextEnd(box, PromptOf(folderShown)) ? box : nullptr;
}

}  // namespace companiontest
