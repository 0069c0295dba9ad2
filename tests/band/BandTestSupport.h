#pragma once

#include "BrowserWindow.h"
#include "shared/ProcessProbe.h"
#include "shared/ScratchFolder.h"
#include "shared/TextSearch.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace bandtest {

using testsupport::ScratchFolder;

// Process ids of the interpreters this process has started and that still run.
std::vector<DWORD> RunningInterpreters();
using testsupport::CountOpenHandles;
using testsupport::CountThreads;
using testsupport::CountOf;
using testsupport::EndsWith;
// While one lives, every allocation through operator new on the thread that made it fails with
// std::bad_alloc; other threads allocate as usual.
class FailingAllocations {
public:
    FailingAllocations();
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;
};

// The interpreter's prompt for a folder.
std::wstring PromptOf(const std::wstring& folder);
// The command that makes the interpreter run one of this program's helpers: a disabled test
// BandHelper.DISABLED_<name>, run as a console program of the interpreter.
std::wstring HelperCommand(const wchar_t* name);
// Process ids of the helpers this program runs through an interpreter.
std::vector<DWORD> RunningHelpers();

// A console band sited in a stand-in browser window that shows a scratch folder on drive C:;
// the band's interpreter has printed its first prompt when a test begins.
class BandInBrowser : public ::testing::Test {
protected:
    void SetUp() override;

    std::wstring Text() const;
    // What follows the last prompt of the folder: the command line as it stands.
    std::wstring InputAfterPrompt(const std::wstring& folder) const;
    // Pumps the window's messages until the text box's text satisfies `done`.
    bool WaitForText(const std::function<bool(const std::wstring&)>& done);
    // Waits until the text ends in the folder's prompt, shown at least `count` times.
    bool WaitForPrompt(const std::wstring& folder, size_t count = 1);
    // Types the line and presses Enter, as the user does.
    void Submit(const std::wstring& line);
    // Submits the line in the folder and waits for the interpreter's next prompt there.
    bool Run(const std::wstring& line, const std::wstring& folder);
    bool WaitForDocumentComplete(int count);

    template <typename Interface>
    Microsoft::WRL::ComPtr<Interface> BandAs()
    {
        Microsoft::WRL::ComPtr<Interface> part;
        band.As(&part);
        return part;
    }

    ScratchFolder folder;
    // A folder on another drive; removed only after the interpreter that may stand in it is gone.
    ScratchFolder elsewhere{L"Z:\\tmp\\"};
    standin::BrowserWindow window;
    Microsoft::WRL::ComPtr<IUnknown> band;
    HWND edit = nullptr;
};

// Records the keyboard messages and text replacements that reach a text box's procedure,
// ahead of whoever subclassed it before.
class EditRecorder {
public:
    explicit EditRecorder(HWND window);
    ~EditRecorder();
    EditRecorder(const EditRecorder&) = delete;
    EditRecorder& operator=(const EditRecorder&) = delete;

    // Whether a key-down of the key, or a character, reached the window.
    bool SawKeyDown(UINT virtualKey) const;
    bool SawCharacter(wchar_t character) const;
    const std::vector<std::wstring>& ReplacedTexts() const { return replaced; }
    void Clear()
    {
        seen.clear();
        replaced.clear();
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window;
    WNDPROC previous;
    std::vector<MSG> seen;
    std::vector<std::wstring> replaced;
};

}  // namespace bandtest
