#include "view/OutputLineEnds.h"

#include <algorithm>

namespace view {

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
                returnPending = false;
            }
            converted.text.append(at, plain);
        }
        if (plain == end)
            break;
        if (*plain == L'\r') {
            returnPending = true;
        } else {
            converted.text.append(L"\r\n");
            lineBegin = converted.text.size();
            lineEnded = true;
            returnPending = false;
        }
        at = plain + 1;
    }
}

}  // namespace view
