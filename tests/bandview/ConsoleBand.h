#pragma once

#include "BrowserWindow.h"
#include "shared/ScratchFolder.h"
#include "shared/TextSearch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bandview {

using testsupport::ScratchFolder;

// The console band as its user meets it: hosted in a stand-in browser window, typed into through
// the host's key routing, with a real interpreter behind it.
class ConsoleBand {
public:
    ConsoleBand() = default;
    ConsoleBand(const ConsoleBand&) = delete;
    ConsoleBand& operator=(const ConsoleBand&) = delete;

    // Opens the browser on the folder, sites a new band and waits for the interpreter's first prompt.
    bool Open(const std::wstring& folder, const standin::BrowserOptions& options = {});

    standin::BrowserWindow& Browser() { return window; }
    HWND Edit() const { return edit; }
    std::wstring Text() const;
    // What follows the output that stood when the last prompt was waited for.
    std::wstring Input() const;
    // The output part is unchanged since the last prompt was waited for.
    bool OutputUnchanged() const;
    int CaretInInput() const;

    // Runs the window's messages until done holds; false when it does not within the bound.
    bool WaitFor(const std::function<bool()>& done);
    // Waits until the text ends with the prompt of folder and marks where the command line begins.
    bool WaitForPrompt(const std::wstring& folder);
    // Waits until the text ends with the prompt of folder, count times past position.
    bool WaitForPrompts(const std::wstring& folder, size_t position, int count);

    void Type(const std::wstring& text);
    void Press(UINT key, standin::KeyModifiers modifiers = {});
    void PressTab() { Press(VK_TAB); }
    void PressCtrlTab() { Press(VK_TAB, {true, false, false}); }
    void Submit(const std::wstring& line);

    size_t OutputEnd() const { return outputEnd; }
    bool ConsoleHasFocus() const { return ::GetFocus() == edit; }

private:
    standin::BrowserWindow window;
    HWND edit = nullptr;
    std::wstring output;
    size_t outputEnd = 0;
};

// Every layout of the stand-in's folder view, for tests that run in each.
::testing::internal::ParamGenerator<standin::ViewLayout> EveryLayout();
std::string LayoutName(const ::testing::TestParamInfo<standin::ViewLayout>& info);
// Whether the layout's view can show items outside the file system.
bool ShowsVirtualItems(standin::ViewLayout layout);

// The interpreter's prompt for a folder, as it ends the console's text.
std::wstring PromptOf(const std::wstring& folder);
// How often text occurs in within, from position on.
inline int Occurrences(const std::wstring& within, const std::wstring& text, size_t position = 0)
{
    return static_cast<int>(testsupport::CountOf(within, text, position));
}

}  // namespace bandview
