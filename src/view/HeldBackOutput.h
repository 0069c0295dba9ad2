#pragma once

#include "view/OutputLineEnds.h"

#include <cstddef>
#include <string>
#include <vector>

namespace view {

// Interpreter output that the text box has not laid out yet. Laying text out is what costs, so during
// a flood the box lays out only the newest output, what a user sees, and holds back what came before
// it at its place; once the flood has passed, the held-back text is laid out there a slice at a time.
// Only as much is held back as the scrollback keeps: older text is left out, counted, and said in one
// line where it was.
//
// Positions are offsets into the box's text, kept in step with every change of it.
class HeldBackOutput {
public:
    // Output held back at one place in the box.
    struct Stretch {
        int position = 0;         // where its text goes: the box's text before it came before it
        int lineStart = 0;        // where the output line that its text continues begins
        OutputLineEnds lineEnds;  // the line ends' state at the start of its text
        std::wstring text;        // as it came, not laid out yet
        std::size_t dropped = 0;  // characters left out in front of its text, said in one line before it
    };

    bool Empty() const noexcept { return stretches.empty(); }
    Stretch& Oldest() { return stretches.front(); }
    Stretch& Newest() { return stretches.back(); }
    // A new stretch after everything held back so far.
    Stretch& Open(int position, int lineStart, const OutputLineEnds& lineEnds);
    void RemoveOldest() { stretches.erase(stretches.begin()); }

    // The newest output, laid out after the newest stretch while a flood goes on: when newer output
    // comes, it is held back again with it, so that only the newest is laid out. As it came.
    bool TailOpen() const noexcept { return tailOpen; }
    const std::wstring& Tail() const noexcept { return tail; }
    void OpenTail(std::wstring text);
    // More output laid out after the tail; false when the tail has grown too long to lay out again
    // and was closed.
    bool ExtendTail(const wchar_t* text, std::size_t length);
    // Output after the tail that is not the interpreter's: the tail stays as it was laid out.
    void CloseTail() noexcept;
    std::wstring TakeTail();

    // The box's text in [from, to) was replaced by `length` characters. Stretches after it move with
    // the text; one inside it goes to its start. A stretch at `to` stays before the new text.
    void Replaced(int from, int to, int length) noexcept;
    // The first `cut` characters of the box went: so does held-back text older than what was cut.
    void Cut(int cut);
    // Leaves out the oldest held-back text beyond `bound` characters, cut after a line end where one
    // is near, and counts it.
    void KeepWithin(std::size_t bound);
    void Clear() noexcept;

    // The line that says where `characters` of output were left out: locale-neutral, with a decimal
    // point and no digit grouping, in thousands or millions from ten thousand on.
    static std::wstring DroppedLine(std::size_t characters);

private:
    std::vector<Stretch> stretches;  // in the order of the text
    std::wstring tail;
    bool tailOpen = false;
};

}  // namespace view
