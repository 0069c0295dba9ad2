#pragma once

#include <deque>
#include <optional>
#include <string>

namespace session {

// Who reads the next line written to the interpreter's input, and when a line typed ahead may go.
//
// The interpreter marks every prompt; at a marked prompt it has finished the last line and reads the
// next. It must be handed one line per prompt: Wine's interpreter drops what follows the first line
// of one read, and a line written while it works may be read by a batch file's "set /p" instead of
// at its prompt. So, while the interpreter works on a line of its own (no program runs):
// - the first line typed goes at once, as the answer to a question the interpreter may be asking;
// - further lines are held, and each goes at the next marked prompt, or when the interpreter asks
//   again (its output stops without a line end, as a question does), once the line before is read.
// A program the interpreter runs reads its own input: lines typed for it go at once, even past lines
// held for the interpreter's next prompt, which keep waiting for it. Without marks
// (the user replaced the prompt) nothing is held: every line goes at once, as in a plain pipe.
class LineTurns {
public:
    // Where a line submitted now goes.
    enum class Route {
        Prompt,       // the interpreter waits at its prompt and reads it at once
        Interpreter,  // the interpreter is at work: it reads the line at its next prompt or as an answer
        Program,      // a program the interpreter runs reads it
        Held,         // it waits for its turn
        Unmarked,     // no marked prompt tells the turns: the line goes at once
    };

    // A marked prompt was reached. The line the interpreter reads at it, when one was already
    // written; else nothing, and the turn is the console's (AtPrompt).
    std::optional<std::wstring> PromptReached();
    // The interpreter waits at a marked prompt, and nothing has been written since.
    bool AtPrompt() const noexcept { return marked && atPrompt; }
    bool Marked() const noexcept { return marked; }

    // A line for the interpreter's input: where it goes. Held lines wait for NextHeld.
    Route Submit(const std::wstring& line, bool programRuns);
    // A line of the console's own takes the prompt's turn.
    void TakeTurn() noexcept { atPrompt = false; }
    // The interpreter asked for a line while at work: the line written before is read.
    void InterpreterAsks() noexcept { unread.reset(); }
    // A held line whose turn has come: at a prompt, or while the interpreter is at work and has read
    // the line before. It is then written; at work, it is unread until the interpreter asks again or
    // reaches a prompt.
    struct TurnCome {
        std::wstring line;
        bool atPrompt;  // read at the prompt the interpreter waits at, else as an answer while at work
    };
    std::optional<TurnCome> NextHeld();
    bool HoldsLines() const noexcept { return !held.empty(); }

    // The user replaced the marked prompt: no turns are told any more, and held lines go at once.
    std::deque<std::wstring> MarksStopped();
    // A new interpreter: nothing is known of it until its first marked prompt.
    void Reset();

private:
    std::deque<std::wstring> held;
    std::optional<std::wstring> unread;  // written while the interpreter was at work
    bool marked = false;
    bool atPrompt = false;
};

}  // namespace session
