#pragma once

#include <cstddef>
#include <string>

namespace view {

// Turns the interpreter's line ends into the text box's, as a console shows them: a line feed
// breaks the line whether a carriage return comes before it or not, and a carriage return that
// is followed by text returns to the start of the current line, whose text that text replaces
// (a progress counter shows as one updating line). A carriage return at the end of one text is
// decided by the start of the next, so CR and LF split between two texts are still one line end.
class OutputLineEnds {
public:
    struct Converted {
        bool replacesLine = false;  // the text replaces the current output line instead of continuing it
        std::wstring text;          // with CR LF line ends and no other carriage return
    };

    void Convert(const wchar_t* text, std::size_t length, Converted& converted);

    // Text shown by other means ended the current line: a return still pending is forgotten.
    void Reset() noexcept { returnPending = false; }

private:
    bool returnPending = false;
};

}  // namespace view
