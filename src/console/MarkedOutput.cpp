#include "console/MarkedOutput.h"

#include "support/TextCut.h"

#include <algorithm>

namespace console {
namespace {

// How far past the wanted cut a line end is looked for before a longer line is cut inside.
constexpr std::size_t LineEndSearchSpan = 16384;

}  // namespace

void MarkedOutput::Clear() noexcept
{
    text.clear();
    prompts.clear();
    dropped = 0;
}

void MarkedOutput::Append(const MarkedOutput& later)
{
    const std::size_t shift = text.size();
    text += later.text;
    for (const MarkedPrompt& prompt : later.prompts)
        prompts.push_back(MarkedPrompt{shift + prompt.offset, prompt.folder});
}

void MarkedOutput::KeepNewest(std::size_t kept)
{
    if (text.size() <= kept)
        return;
    // At least half of what should be kept is kept, however long its first line.
    const std::size_t cut = support::CutAfterLineEnd(text, text.size() - kept, std::min(LineEndSearchSpan, kept / 2));
    text.erase(0, cut);
    dropped += cut;
    for (MarkedPrompt& prompt : prompts)
        prompt.offset = prompt.offset > cut ? prompt.offset - cut : 0;
}

}  // namespace console
