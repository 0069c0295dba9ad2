#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace shellview {

struct ViewCandidate {
    int index;          // where the next search of the cycle starts is just after this item
    std::wstring name;  // the item's name in its own case
};

// The first of the view's names, from startIndex on and wrapping around once, that begins with
// base (see CompletionBase). A startIndex at or past the end starts at the first name. Empty
// names (items without a file-system name) are passed over. Nothing when no name matches.
std::optional<ViewCandidate> FindViewCandidate(const std::vector<std::wstring>& names, int startIndex,
                                               const std::wstring& base);

}  // namespace shellview
