#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace console {

// The interpreter reached its marked prompt: it has finished the last line and waits for the next
// one, in `folder`. The interpreter prints the folder in its output code page, as in the prompt the
// user sees: a character that code page lacks comes as "?" (which no name holds) or as a look-alike.
// Empty when the prompt shown did not confirm the folder: the interpreter waits, where is unknown.
struct MarkedPrompt {
    // Where in the text the prompt ended: the text before it was printed before, the text after it
    // (the interpreter's echo of the line it read, or output) after.
    std::size_t offset = 0;
    std::wstring folder;
};

// The interpreter's output as the window gets it: the text to show, without the marks, and the
// prompts the interpreter reached in it, in order. Prompts are ordered by offset, none beyond the
// end of the text; several may share an offset, and one at the very end belongs after all the text.
struct MarkedOutput {
    std::wstring text;
    std::vector<MarkedPrompt> prompts;

    bool Empty() const noexcept { return text.empty() && prompts.empty(); }
    void Clear() noexcept;
    // Puts `later` behind everything held; its prompts keep their places in its text.
    void Append(const MarkedOutput& later);
};

}  // namespace console
