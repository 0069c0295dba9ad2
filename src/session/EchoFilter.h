#pragma once

#include <deque>
#include <string>

namespace session {

// Keeps a submitted line from showing twice. The line is shown where it was typed; an
// interpreter that echoes the lines it reads (Windows' cmd with echo on) writes it again right
// after its prompt, when it reads it: at once, or after the next prompt for a line typed ahead.
// Only an exact echo of a submitted line, right after a prompt, is dropped, once. A prompt followed
// by anything else shows that a program or a batch file's question read the lines: the lines still
// waiting are forgotten. Where the interpreter marks its prompts, the marks say where each prompt
// ends; else the prompt is taken to end at a '>'.
class EchoFilter {
public:
    // A line written to an interpreter that echoes; a line of several lines is echoed line by line.
    void Expect(const std::wstring& line);
    // A marked prompt ended here: the output that follows may begin with an echo. From now on only
    // marks end prompts, until PromptsUnmarked.
    void PromptMarked() noexcept;
    // The user replaced the marked prompt: a '>' ends a prompt again.
    void PromptsUnmarked() noexcept { promptsMarked = false; }

    // The output to show. Text that may still turn out to be an echo is held back until the
    // following output decides it.
    const std::wstring& Filter(const wchar_t* text, size_t length);
    const std::wstring& Filter(const wchar_t* text) { return Filter(text, std::char_traits<wchar_t>::length(text)); }

    bool HasHeldBack() const { return !heldBack.empty(); }

    // The held-back text, shown after all: the rest of an echo never came.
    std::wstring ReleaseHeldBack();

    // The interpreter is gone: nothing it was sent or wrote is waited for any more.
    void Forget() noexcept;

private:
    enum class Match { None, Partial, Whole };
    Match MatchAt(const std::wstring& text, size_t at, size_t& echoed);
    void ShowRest(const std::wstring& text, size_t at);

    std::deque<std::wstring> expected;  // echoes still to come, each with its CR LF, oldest first
    std::wstring heldBack;
    std::wstring input;
    std::wstring shown;
    bool afterPrompt = false;  // the output so far ends a prompt
    bool promptsMarked = false;
};

}  // namespace session
