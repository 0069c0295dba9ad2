#include "view/OutputLineEnds.h"

#include <windows.h>

#include <algorithm>

namespace view {
namespace {

constexpr wchar_t SoftBreak[] = L"\r\r\n";
constexpr std::size_t SoftBreakLength = 3;

}  // namespace

void OutputLineEnds::Convert(const wchar_t* text, std::size_t length, Converted& converted)
{
    converted.replacesLine = false;
    converted.text.clear();
    converted.text.reserve(length + length / 16);
    std::size_t lineBegin = 0;
    bool lineEnded = false;
    const wchar_t* const end = text + length;
    for (const wchar_t* at = text; at != end;) {
        const wchar_t* const plain = std::find_if(at, end, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
        if (plain != at) {
            if (returnPending) {
                // What follows the return replaces the line: within this text, or the one shown.
                converted.text.resize(lineBegin);
                converted.replacesLine = converted.replacesLine || !lineEnded;
                StartLine();
            }
            AppendShown(at, plain, converted.text);
        }
        if (plain == end)
            break;
        if (*plain == L'\r') {
            returnPending = true;
        } else {
            converted.text.append(L"\r\n");
            lineBegin = converted.text.size();
            lineEnded = true;
            StartLine();
        }
        at = plain + 1;
    }
}

void OutputLineEnds::Skip(const wchar_t* text, std::size_t length) noexcept
{
    const wchar_t* const end = text + length;
    for (const wchar_t* at = text; at != end;) {
        const wchar_t* const plain = std::find_if(at, end, [](wchar_t c) { return c == L'\r' || c == L'\n'; });
        if (plain != at) {
            if (returnPending)
                StartLine();
            SkipShown(at, plain);
        }
        if (plain == end)
            break;
        if (*plain == L'\r')
            returnPending = true;
        else
            StartLine();
        at = plain + 1;
    }
}

void OutputLineEnds::SkipUpTo(const std::wstring& text, std::size_t length) noexcept
{
    const std::size_t lineFeed = length == 0 ? std::wstring::npos : text.rfind(L'\n', length - 1);
    if (lineFeed == std::wstring::npos) {
        Skip(text.data(), length);
        return;
    }
    StartLine();
    Skip(text.data() + lineFeed + 1, length - lineFeed - 1);
}

std::size_t OutputLineEnds::NewestPartStart(const std::wstring& text, std::size_t budget, std::size_t lines)
{
    if (text.size() <= budget)
        return 0;
    const std::size_t limit = text.size() - budget;
    // At a line end, the `lines`-th from the end or the furthest back within the budget: the part
    // begins with it, so that its lines stand on their own while the text before it is held back.
    std::size_t start = 0;
    std::size_t before = text.size();
    for (std::size_t counted = 0; counted <= lines && before > 0; ++counted) {
        const std::size_t lineFeed = text.rfind(L'\n', before - 1);
        if (lineFeed == std::wstring::npos || lineFeed + 1 < limit)
            break;
        if (lineFeed + 1 < text.size())
            start = lineFeed > 0 && text[lineFeed - 1] == L'\r' ? lineFeed - 1 : lineFeed;
        before = lineFeed;
    }
    if (start != 0)
        return start;
    // A carriage return followed by text starts the line anew: what the line held before goes.
    for (std::size_t at = text.rfind(L'\r'); at != std::wstring::npos && at + 1 >= limit;
         at = at == 0 ? std::wstring::npos : text.rfind(L'\r', at - 1)) {
        if (at + 1 < text.size() && text[at + 1] != L'\r' && text[at + 1] != L'\n')
            return at;
    }
    // Inside a long line: its newest rows, as many as the box shows.
    const std::size_t rows = text.size() - std::min(budget, lines * RowLength);
    return IS_LOW_SURROGATE(text[rows]) ? rows + 1 : rows;
}

void OutputLineEnds::StartLine() noexcept
{
    returnPending = false;
    untilSoftBreak = FirstRowLength;
}

// Appends text without line ends, with a soft break wherever a row is full; never between the
// two halves of a surrogate pair.
void OutputLineEnds::AppendShown(const wchar_t* from, const wchar_t* to, std::wstring& shown)
{
    while (from != to) {
        if (untilSoftBreak == 0) {
            if (IS_LOW_SURROGATE(*from)) {
                shown.push_back(*from++);
                continue;
            }
            shown.append(SoftBreak);
            untilSoftBreak = RowLength;
        }
        const std::size_t run = std::min(static_cast<std::size_t>(to - from), untilSoftBreak);
        shown.append(from, run);
        from += run;
        untilSoftBreak -= run;
    }
}

// Counts a row as AppendShown fills it.
void OutputLineEnds::SkipShown(const wchar_t* from, const wchar_t* to) noexcept
{
    while (from != to) {
        if (untilSoftBreak == 0) {
            if (IS_LOW_SURROGATE(*from)) {
                ++from;
                continue;
            }
            untilSoftBreak = RowLength;
        }
        const std::size_t run = std::min(static_cast<std::size_t>(to - from), untilSoftBreak);
        from += run;
        untilSoftBreak -= run;
    }
}

bool OutputLineEnds::EndsInSoftBreak(const wchar_t* text, std::size_t end) noexcept
{
    return end >= SoftBreakLength && std::equal(SoftBreak, SoftBreak + SoftBreakLength, text + end - SoftBreakLength);
}

std::wstring OutputLineEnds::WithoutSoftBreaks(const std::wstring& text, std::size_t start, std::size_t end)
{
    end = std::min(end, text.size());
    std::wstring kept;
    std::size_t from = start;
    // A soft break that begins up to two characters before the start may reach into the range.
    std::size_t next = text.find(SoftBreak, start >= SoftBreakLength - 1 ? start - (SoftBreakLength - 1) : 0);
    for (; next != std::wstring::npos && next < end; next = text.find(SoftBreak, next + SoftBreakLength)) {
        if (next > from)
            kept.append(text, from, next - from);
        from = std::max(from, next + SoftBreakLength);
    }
    if (from < end)
        kept.append(text, from, end - from);
    return kept;
}

}  // namespace view
