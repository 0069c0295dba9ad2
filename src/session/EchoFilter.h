#pragma once

#include <deque>
#include <string>

namespace session {

// Keeps a submitted line from showing twice. The line is shown where it was typed; an
// interpreter that echoes the lines it reads (Windows' cmd with echo on) writes it again right
// after its prompt, when it reads it. Only an exact echo of a submitted line is dropped, once.
//
// Where the interpreter marks its prompts, the console knows which line it reads at which prompt
// and whether it echoes at all, and says so with ExpectAtPrompt. Without marks, the echo is looked
// for right after a prompt's closing '>', for the lines Expect was given: at once, or after the next
// prompt for a line typed ahead; a prompt followed by anything else shows that the interpreter does
// not echo or that a program read the lines, and the lines still waiting are forgotten.
class EchoFilter {
public:
    // A line written to an interpreter whose prompts are not marked; a line of several lines is
    // echoed line by line.
    void Expect(const std::wstring& line);
    // The interpreter reached a marked prompt and reads `line` there, which it echoes: the output
    // that follows begins with the echo.
    void ExpectAtPrompt(const std::wstring& line);

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
    bool afterPrompt = false;  // the output so far ends in '>'
};

}  // namespace session
