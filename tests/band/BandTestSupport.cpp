#include "BandTestSupport.h"

#include "band/ConsoleCoreFactory.h"
#include "support/UniqueHandle.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <cwchar>
#include <system_error>

namespace {

// The thread whose allocations fail, 0 for none.
std::atomic<DWORD> failingThread{0};

}  // namespace

// The program's allocation functions, so that a test can make them fail on its own thread.
void* operator new(std::size_t size)
{
    if (failingThread.load() != 0 && failingThread.load() == ::GetCurrentThreadId())
        throw std::bad_alloc();
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace bandtest {
namespace {

constexpr const wchar_t* RecorderProperty = L"BandTestEditRecorder";

}  // namespace

std::wstring HelperCommand(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return L"\"" + std::wstring(path) + L"\" --gtest_also_run_disabled_tests --gtest_filter=BandHelper.DISABLED_" + name;
}

std::vector<DWORD> RunningHelpers()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* name = std::wcsrchr(path, L'\\') != nullptr ? std::wcsrchr(path, L'\\') + 1 : path;
    std::vector<DWORD> found;
    for (const DWORD interpreter : RunningInterpreters()) {
        const std::vector<DWORD> helpers = testsupport::ChildProcessIds(name, interpreter);
        found.insert(found.end(), helpers.begin(), helpers.end());
    }
    return found;
}

std::vector<DWORD> RunningInterpreters()
{
    return testsupport::ChildProcessIds(L"cmd.exe");
}

FailingAllocations::FailingAllocations()
{
    failingThread = ::GetCurrentThreadId();
}

FailingAllocations::~FailingAllocations()
{
    failingThread = 0;
}

std::wstring PromptOf(const std::wstring& folder)
{
    return folder + L">";
}

void BandInBrowser::SetUp()
{
    ASSERT_TRUE(window.Create(folder.Path()));
    ASSERT_EQ(S_OK, band::CreateConsoleCore(nullptr, IID_PPV_ARGS(&band)));
    ASSERT_EQ(S_OK, window.SiteBand(band.Get()));
    edit = ::FindWindowExW(window.BandWindow(), nullptr, L"Brimblestone Editbox", nullptr);
    ASSERT_NE(nullptr, edit);
    ASSERT_TRUE(WaitForPrompt(folder.Path())) << Text();
}

std::wstring BandInBrowser::Text() const
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::wstring BandInBrowser::InputAfterPrompt(const std::wstring& promptFolder) const
{
    const std::wstring text = Text();
    const std::wstring prompt = PromptOf(promptFolder);
    const size_t at = text.rfind(prompt);
    return at == std::wstring::npos ? std::wstring() : text.substr(at + prompt.size());
}

bool BandInBrowser::WaitForText(const std::function<bool(const std::wstring&)>& done)
{
    return window.PumpUntil([&] { return done(Text()); });
}

bool BandInBrowser::WaitForPrompt(const std::wstring& promptFolder, size_t count)
{
    const std::wstring prompt = PromptOf(promptFolder);
    return WaitForText(
        [&](const std::wstring& text) { return EndsWith(text, prompt) && CountOf(text, prompt) >= count; });
}

void BandInBrowser::Submit(const std::wstring& line)
{
    window.TypeText(edit, line);
    window.PressKey(edit, VK_RETURN);
}

bool BandInBrowser::Run(const std::wstring& line, const std::wstring& promptFolder)
{
    const size_t before = CountOf(Text(), PromptOf(promptFolder));
    Submit(line);
    return WaitForPrompt(promptFolder, before + 1);
}

bool BandInBrowser::WaitForDocumentComplete(int count)
{
    return window.PumpUntil([&] { return window.DocumentCompleteCount() >= count; });
}

EditRecorder::EditRecorder(HWND window) : window(window)
{
    ::SetPropW(window, RecorderProperty, this);
    previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditRecorder::Procedure)));
}

EditRecorder::~EditRecorder()
{
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    ::RemovePropW(window, RecorderProperty);
}

bool EditRecorder::SawKeyDown(UINT virtualKey) const
{
    return std::any_of(seen.begin(), seen.end(), [&](const MSG& message) {
        return message.message == WM_KEYDOWN && message.wParam == virtualKey;
    });
}

bool EditRecorder::SawCharacter(wchar_t character) const
{
    return std::any_of(seen.begin(), seen.end(), [&](const MSG& message) {
        return message.message == WM_CHAR && message.wParam == static_cast<WPARAM>(character);
    });
}

LRESULT CALLBACK EditRecorder::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* recorder = static_cast<EditRecorder*>(::GetPropW(window, RecorderProperty));
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST)
        recorder->seen.push_back(MSG{window, message, wParam, lParam, 0, {}});
    if (message == EM_REPLACESEL && lParam != 0)
        recorder->replaced.emplace_back(reinterpret_cast<const wchar_t*>(lParam));
    return ::CallWindowProcW(recorder->previous, window, message, wParam, lParam);
}

}  // namespace bandtest
