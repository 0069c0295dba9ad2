#pragma once

#include <cstddef>
#include <string>

namespace view {

// Turns the interpreter's line ends into the text box's, as a console shows them: a line feed
// breaks the line whether a carriage return comes before it or not, and a carriage return that
// is followed by text returns to the start of the current line, whose text that text replaces
// (a progress counter shows as one updating line). A carriage return at the end of one text is
// decided by the start of the next, so CR and LF split between two texts are still one line end.
//
// A very long line is shown in rows, as a console shows it in rows of its width: past
// FirstRowLength characters, a soft break (CR CR LF, which the text box shows as a line break)
// follows every RowLength characters. The text box lays out a paragraph again up to its end for
// every screen line it wraps, so an endless line without breaks costs the square of its length:
// under Wine a row of 4,096 characters took 80 to 110 ms to lay out on a loaded machine, one of
// 1,024 a sixteenth of that.
// The breaks are for showing only: copied text and the line a carriage return goes back to are
// the output as it came.
class OutputLineEnds {
public:
    static constexpr std::size_t FirstRowLength = 1024;
    static constexpr std::size_t RowLength = 512;

    struct Converted {
        bool replacesLine = false;  // the text replaces the current output line instead of continuing it
        std::wstring text;          // with CR LF line ends, soft breaks, and no other carriage return
    };

    void Convert(const wchar_t* text, std::size_t length, Converted& converted);
    // Reads text as Convert would, without showing it: the state after it is the same.
    void Skip(const wchar_t* text, std::size_t length) noexcept;
    // Skips the first `length` characters of `text`, from its last line feed among them: nothing
    // before a line feed changes the state after it.
    void SkipUpTo(const std::wstring& text, std::size_t length) noexcept;

    // Text shown by other means ended the current line: a return still pending is forgotten.
    void Reset() noexcept { StartLine(); }
    // Whether the next text begins a line of its own.
    bool AtLineStart() const noexcept { return !returnPending && untilSoftBreak == FirstRowLength; }

    // Where the newest part of `text` begins that shows its last `lines` lines within about `budget`
    // characters: at the line end before a line, as far back as that allows; in a longer line, at the
    // carriage return that last starts it anew, or else its last `lines` rows (within `budget`
    // characters), never inside a character. Read from the state before it, the part shows as it would after the rest.
    // 0 when `text` is no longer than `budget`.
    static std::size_t NewestPartStart(const std::wstring& text, std::size_t budget, std::size_t lines);

    // Whether the line end that ends before `end` in `text` is a soft break.
    static bool EndsInSoftBreak(const wchar_t* text, std::size_t end) noexcept;
    // The characters of `text` from `start` to `end`, without the soft breaks, also without the
    // part of one that the range cuts through.
    static std::wstring WithoutSoftBreaks(const std::wstring& text, std::size_t start, std::size_t end);

private:
    void StartLine() noexcept;
    void AppendShown(const wchar_t* from, const wchar_t* to, std::wstring& shown);
    void SkipShown(const wchar_t* from, const wchar_t* to) noexcept;

    bool returnPending = false;
    std::size_t untilSoftBreak = FirstRowLength;  // characters the current row still takes
};

}  // namespace view
