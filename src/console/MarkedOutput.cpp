#include "console/MarkedOutput.h"

#include <algorithm>

namespace console {
namespace {

// How far past the wanted cut a line end is looked for before a longer line is cut inside.
constexpr std::size_t LineEndSearchSpan = 16384;

bool IsLowSurrogate(wchar_t character) noexcept
{
    return character >= 0xDC00 && character <= 0xDFFF;
}

// The first position at or after `wanted` where the text may be cut, keeping at least half of the
// `kept` characters after it.
std::size_t CutAtOrAfter(const std::wstring& text, std::size_t wanted, std::size_t kept)
{
    const std::size_t searched = std::min(text.size(), wanted + std::min(LineEndSearchSpan, kept / 2));
    const std::size_t lineEnd = text.find(L'\n', wanted == 0 ? 0 : wanted - 1);
    if (lineEnd != std::wstring::npos && lineEnd < searched)
        return lineEnd + 1;
    std::size_t cut = wanted;
    if (cut < text.size() && IsLowSurrogate(text[cut]))
        ++cut;
    return cut;
}

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
    const std::size_t cut = CutAtOrAfter(text, text.size() - kept, kept);
    text.erase(0, cut);
    dropped += cut;
    for (MarkedPrompt& prompt : prompts)
        prompt.offset = prompt.offset > cut ? prompt.offset - cut : 0;
}

}  // namespace console
