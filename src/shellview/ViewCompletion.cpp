#include "shellview/ViewCompletion.h"

#include "shellview/CompletionText.h"

namespace shellview {

std::optional<ViewCandidate> FindViewCandidate(const std::vector<std::wstring>& names, int startIndex,
                                               const std::wstring& base)
{
    const int count = static_cast<int>(names.size());
    int index = startIndex >= 0 && startIndex < count ? startIndex : 0;
    for (int visited = 0; visited < count; ++visited) {
        const std::wstring& name = names[static_cast<size_t>(index)];
        if (!name.empty() && NameStartsWithBase(name.c_str(), base))
            return ViewCandidate{index, name};
        index = index + 1 < count ? index + 1 : 0;
    }
    return std::nullopt;
}

}  // namespace shellview
