#include "shellview/ViewCompletion.h"

#include "shellview/CompletionText.h"
#include "shellview/ShellListView.h"

namespace shellview {

std::optional<ViewCandidate> FindViewCandidate(HWND list, int startIndex, const std::wstring& base)
{
    const int count = GetViewItemCount(list);
    int index = startIndex >= 0 && startIndex < count ? startIndex : 0;
    for (int visited = 0; visited < count; ++visited) {
        wchar_t name[MAX_PATH];
        if (GetViewItemName(list, index, name) && NameStartsWithBase(name, base))
            return ViewCandidate{index, name};
        index = index + 1 < count ? index + 1 : 0;
    }
    return std::nullopt;
}

}  // namespace shellview
