#pragma once

namespace console {

// When the band learns the interpreter's code page anew. A line sent (or a start) may change it;
// the question then goes out once the interpreter has been idle with no output for one check, so
// that the window need not wait for the answer when the next line is converted. An answer counts
// only when no output came while it was asked: output means the interpreter was still at work,
// and the question is asked again.
class CodePageFollowing {
public:
    void MayHaveChanged() noexcept { mayHaveChanged = true; }
    void OutputArrived() noexcept { ++outputs; }

    // Whether checks are still due, one every CheckInterval milliseconds.
    bool IsWatching() const noexcept { return mayHaveChanged || asked; }
    static constexpr unsigned CheckInterval = 500;

    // One check: whether the question should go out now, provided the interpreter is idle.
    bool IsDueToAsk() noexcept;
    // The question was asked, or could not be (then the code page stays as it is).
    void Asked(bool started) noexcept;
    bool IsAsked() const noexcept { return asked; }
    void Answered() noexcept;

    // A line is about to be converted, so the code page must be known now.
    enum class BeforeConverting {
        Known,         // nothing may have changed it
        AwaitAnswer,   // the question asked is still good: wait for its answer
        AskAndAwait,   // ask (again) and wait
    };
    BeforeConverting KnowNow() noexcept;

private:
    bool mayHaveChanged = false;
    bool asked = false;
    unsigned outputs = 0;
    unsigned outputsAtLastCheck = 0;
    unsigned outputsWhenAsked = 0;
};

}  // namespace console
