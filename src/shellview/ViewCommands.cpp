#include "shellview/ViewCommands.h"

#include "shellview/WildcardMatch.h"

namespace shellview {
namespace {

constexpr DWORD COMMAND_MATCH_FLAGS = MATCH_LOWERCASE | MATCH_HALFWIDTH;

// The pattern list as the commands use it: cut to the list buffer and folded like every name.
class PatternBuffer {
public:
    explicit PatternBuffer(const wchar_t* patterns)
    {
        ::lstrcpynW(text, patterns, PATTERN_LIST_CAPACITY);
        NormalizeForMatch(text, COMMAND_MATCH_FLAGS);
    }
    const wchar_t* Get() const { return text; }

private:
    wchar_t text[PATTERN_LIST_CAPACITY];
};

// Indexes of the named items whose match is as wanted, ascending or descending.
std::vector<int> IndexesWhere(const std::vector<std::wstring>& names, const wchar_t* patterns, bool matching,
                              bool descending)
{
    const PatternBuffer buffer(patterns);
    std::vector<int> indexes;
    wchar_t name[MAX_PATH];
    for (size_t at = 0; at < names.size(); ++at) {
        const size_t index = descending ? names.size() - 1 - at : at;
        if (names[index].empty())
            continue;
        ::lstrcpynW(name, names[index].c_str(), MAX_PATH);
        NormalizeForMatch(name, COMMAND_MATCH_FLAGS);
        if ((MatchPatternList(name, buffer.Get()) != FALSE) == matching)
            indexes.push_back(static_cast<int>(index));
    }
    return indexes;
}

}  // namespace

std::vector<int> MatchingIndexes(const std::vector<std::wstring>& names, const wchar_t* patterns)
{
    return IndexesWhere(names, patterns, true, false);
}

std::vector<int> IndexesToHide(const std::vector<std::wstring>& names, const wchar_t* patterns)
{
    return IndexesWhere(names, patterns, false, true);
}

}  // namespace shellview
