#include "console/MarkedOutput.h"

namespace console {

void MarkedOutput::Clear() noexcept
{
    text.clear();
    prompts.clear();
}

void MarkedOutput::Append(const MarkedOutput& later)
{
    const std::size_t shift = text.size();
    text += later.text;
    for (const MarkedPrompt& prompt : later.prompts)
        prompts.push_back(MarkedPrompt{shift + prompt.offset, prompt.folder});
}

}  // namespace console
