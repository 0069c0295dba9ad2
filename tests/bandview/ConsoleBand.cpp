#include "ConsoleBand.h"

#include "shared/TextSearch.h"

#include "band/ConsoleCoreFactory.h"

#include <wrl/client.h>

#include <vector>

namespace bandview {
namespace {

HWND FindConsoleEdit(HWND bandWindow)
{
    return bandWindow ? ::FindWindowExW(bandWindow, nullptr, L"Brimblestone Editbox", nullptr) : nullptr;
}

}  // namespace

bool ConsoleBand::Open(const std::wstring& folder, const standin::BrowserOptions& options)
{
    Microsoft::WRL::ComPtr<IUnknown> band;
    if (!window.Create(folder, options) ||
        FAILED(band::CreateConsoleCore(nullptr, IID_IUnknown, reinterpret_cast<void**>(band.GetAddressOf()))) ||
        FAILED(window.SiteBand(band.Get())))
        return false;
    edit = FindConsoleEdit(window.BandWindow());
    return edit != nullptr && WaitForPrompt(window.Folder());
}

std::wstring ConsoleBand::Text() const
{
    std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1);
    const int length = ::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<size_t>(length));
}

std::wstring ConsoleBand::Input() const
{
    const std::wstring text = Text();
    return text.size() > outputEnd ? text.substr(outputEnd) : std::wstring();
}

bool ConsoleBand::OutputUnchanged() const
{
    return Text().compare(0, outputEnd, output) == 0;
}

int ConsoleBand::CaretInInput() const
{
    DWORD start = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start) - static_cast<int>(outputEnd);
}

bool ConsoleBand::WaitFor(const std::function<bool()>& done)
{
    return window.PumpUntil(done);
}

bool ConsoleBand::WaitForPrompt(const std::wstring& folder)
{
    const std::wstring prompt = PromptOf(folder);
    if (!WaitFor([&] { return testsupport::EndsWith(Text(), prompt); }))
        return false;
    output = Text();
    outputEnd = output.size();
    return true;
}

bool ConsoleBand::WaitForPrompts(const std::wstring& folder, size_t position, int count)
{
    const std::wstring prompt = PromptOf(folder);
    if (!WaitFor([&] {
            const std::wstring text = Text();
            return testsupport::EndsWith(text, prompt) && Occurrences(text, prompt, position) >= count;
        }))
        return false;
    output = Text();
    outputEnd = output.size();
    return true;
}

void ConsoleBand::Type(const std::wstring& text)
{
    window.TypeText(edit, text);
}

void ConsoleBand::Press(UINT key, standin::KeyModifiers modifiers)
{
    window.PressKey(edit, key, modifiers);
}

void ConsoleBand::Submit(const std::wstring& line)
{
    Type(line);
    Press(VK_RETURN);
}

::testing::internal::ParamGenerator<standin::ViewLayout> EveryLayout()
{
    return ::testing::Values(standin::ViewLayout::ShellView, standin::ViewLayout::ItemsView,
                             standin::ViewLayout::Classic, standin::ViewLayout::Newer);
}

std::string LayoutName(const ::testing::TestParamInfo<standin::ViewLayout>& info)
{
    switch (info.param) {
    case standin::ViewLayout::ShellView:
        return "ShellView";
    case standin::ViewLayout::ItemsView:
        return "ItemsView";
    case standin::ViewLayout::Classic:
        return "Classic";
    case standin::ViewLayout::Newer:
    default:
        return "Newer";
    }
}

bool ShowsVirtualItems(standin::ViewLayout layout)
{
    return layout == standin::ViewLayout::Classic || layout == standin::ViewLayout::Newer;
}

std::wstring PromptOf(const std::wstring& folder)
{
    return folder + L">";
}

}  // namespace bandview
