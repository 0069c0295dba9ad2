#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace shellview {

struct ViewCandidate {
    int index;          // where the next search of the cycle starts is just after this item
    std::wstring name;  // the item's name in its own case
};

// The first item, in view order from startIndex on and wrapping around once, whose name begins
// with base (see CompletionBase). A startIndex at or past the end starts at the first item. Items
// without a file-system name are passed over. Nothing when no item matches or there is no list.
std::optional<ViewCandidate> FindViewCandidate(HWND list, int startIndex, const std::wstring& base);

}  // namespace shellview
