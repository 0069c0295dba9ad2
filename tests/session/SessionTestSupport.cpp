#include "SessionTestSupport.h"

#include "view/Clipboard.h"

namespace sessiontest {
namespace {

class FakeViewItems final : public session::HostFolderView {
public:
    explicit FakeViewItems(std::shared_ptr<FakeView> view) : view(std::move(view)) {}

    std::vector<std::wstring> NamesInViewOrder() override
    {
        if (view->viewOrder.empty())
            return view->namesByIndex;
        std::vector<std::wstring> names;
        for (const int index : view->viewOrder)
            names.push_back(view->namesByIndex[static_cast<size_t>(index)]);
        return names;
    }
    std::vector<std::wstring> NamesByIndex() override { return view->namesByIndex; }
    void SelectOnly(const std::vector<int>& ascending) override { view->selected = ascending; }
    std::optional<int> Remove(const std::vector<int>& descending) override
    {
        if (!view->letsItemsBeRemoved)
            return std::nullopt;
        view->removals.push_back(descending);
        for (const int index : descending)
            view->namesByIndex.erase(view->namesByIndex.begin() + index);
        return static_cast<int>(descending.size());
    }
    void TakeFocus() override { ++view->focusTaken; }

private:
    std::shared_ptr<FakeView> view;
};

bool IsKeyboardMessage(UINT message)
{
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

}  // namespace

bool FakeBrowser::Navigate(const std::wstring& folder)
{
    navigations.push_back(folder);
    if (!showsNavigations)
        return true;
    shown = folder;
    if (console != nullptr)
        console->FolderShown();
    return true;
}

std::unique_ptr<session::HostFolderView> FakeBrowser::ActiveView()
{
    if (!view)
        return nullptr;
    return std::make_unique<FakeViewItems>(view);
}

FakeFrame::FakeFrame()
    : window(::CreateWindowExW(0, L"STATIC", L"console frame", WS_OVERLAPPEDWINDOW, 0, 0, 640, 300, nullptr,
                               nullptr, nullptr, nullptr))
{
}

std::wstring PromptOf(const std::wstring& folder)
{
    return folder + L">";
}

std::wstring HelperCommand(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return L"\"" + std::wstring(path) + L"\" --gtest_also_run_disabled_tests --gtest_filter=SessionHelper.DISABLED_" +
           name;
}

void SessionTest::SetUp()
{
    ASSERT_NE(nullptr, frame.window.Get());
    browser.shown = folder.Path();
    OpenConsole();
}

void SessionTest::OpenConsole()
{
    StartConsole();
    ASSERT_TRUE(WaitForPrompt(folder.Path())) << Text();
}

void SessionTest::StartConsole()
{
    console = std::make_unique<session::ConsoleSession>(browser, frame, settings::HostKind::Band);
    browser.console = console.get();
    ASSERT_TRUE(console->Open());
    ::MoveWindow(console->Window(), 0, 0, 600, 200, FALSE);
    console->Show();
    console->StartInterpreter();
    edit = ::FindWindowExW(console->Window(), nullptr, L"Brimblestone Editbox", nullptr);
    ASSERT_NE(nullptr, edit);
}

void SessionTest::TearDown()
{
    browser.console = nullptr;
    console.reset();
}

std::wstring SessionTest::Text() const
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::wstring SessionTest::InputAfterPrompt(const std::wstring& promptFolder) const
{
    const std::wstring text = Text();
    const std::wstring prompt = PromptOf(promptFolder);
    const size_t at = text.rfind(prompt);
    return at == std::wstring::npos ? std::wstring() : text.substr(at + prompt.size());
}

// Keys reach the console as a host hands them over, before they are dispatched.
bool SessionTest::RouteKey(MSG& message)
{
    return IsKeyboardMessage(message.message) && message.hwnd == edit && console->TranslateKey(message);
}

bool SessionTest::WaitFor(const std::function<bool()>& done, DWORD bound)
{
    return standin::PumpUntil(done, bound, [this](MSG& message) { return RouteKey(message); });
}

bool SessionTest::WaitForText(const std::function<bool(const std::wstring&)>& done)
{
    return WaitFor([&] { return done(Text()); });
}

bool SessionTest::WaitForPrompt(const std::wstring& promptFolder, size_t count)
{
    const std::wstring prompt = PromptOf(promptFolder);
    return WaitForText(
        [&](const std::wstring& text) { return EndsWith(text, prompt) && CountOf(text, prompt) >= count; });
}

void SessionTest::Type(const std::wstring& text)
{
    for (const wchar_t character : text)
        ::PostMessageW(edit, WM_CHAR, character, 1);
    standin::PumpPending([this](MSG& message) { return RouteKey(message); });
}

void SessionTest::Press(UINT key)
{
    const LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(edit, WM_KEYDOWN, key, 1 | scanCode);
    ::PostMessageW(edit, WM_KEYUP, key, 1 | scanCode | (LPARAM{1} << 30) | (LPARAM{1} << 31));
    standin::PumpPending([this](MSG& message) { return RouteKey(message); });
}

bool SessionTest::Paste(const std::wstring& text)
{
    if (!view::PutOnClipboard(edit, text))
        return false;
    ::SendMessageW(edit, WM_PASTE, 0, 0);
    return true;
}

void SessionTest::Submit(const std::wstring& line)
{
    Type(line);
    Press(VK_RETURN);
}

std::vector<std::wstring> SessionTest::RecallWithUp(size_t presses, const std::wstring& promptFolder)
{
    std::vector<std::wstring> shown;
    for (size_t press = 0; press < presses; ++press) {
        Press(VK_UP);
        shown.push_back(InputAfterPrompt(promptFolder));
    }
    return shown;
}

bool SessionTest::Run(const std::wstring& line, const std::wstring& promptFolder)
{
    const size_t before = CountOf(Text(), PromptOf(promptFolder));
    Submit(line);
    return WaitForPrompt(promptFolder, before + 1);
}

void SessionTest::Show(const std::optional<std::wstring>& shownFolder)
{
    browser.shown = shownFolder;
    console->FolderShown();
}

}  // namespace sessiontest
