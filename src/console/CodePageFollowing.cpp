#include "console/CodePageFollowing.h"

namespace console {

bool CodePageFollowing::IsDueToAsk() noexcept
{
    const bool quiet = outputs == outputsAtLastCheck;
    outputsAtLastCheck = outputs;
    return mayHaveChanged && !asked && quiet;
}

void CodePageFollowing::Asked(bool started) noexcept
{
    mayHaveChanged = false;
    asked = started;
    outputsWhenAsked = outputs;
}

void CodePageFollowing::Answered() noexcept
{
    asked = false;
    if (outputs != outputsWhenAsked)
        mayHaveChanged = true;
}

CodePageFollowing::BeforeConverting CodePageFollowing::KnowNow() noexcept
{
    // A line sent or output shown since the question went out may have changed the answer.
    const bool answerStillGood = asked && !mayHaveChanged && outputs == outputsWhenAsked;
    const bool unknown = mayHaveChanged || asked;
    mayHaveChanged = false;
    asked = false;
    if (answerStillGood)
        return BeforeConverting::AwaitAnswer;
    return unknown ? BeforeConverting::AskAndAwait : BeforeConverting::Known;
}

}  // namespace console
