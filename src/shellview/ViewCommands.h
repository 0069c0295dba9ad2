#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace shellview {

// Which items of a folder view the "sel" and "filt" commands act on, given the view's names by index
// (an empty name stands for an item without a file-system name, which neither command touches).
// Names and patterns are folded alike, so that letter case and full-width characters do not matter.

// The indexes of the items whose names match one of the patterns, ascending: the items "sel" selects.
std::vector<int> MatchingIndexes(const std::vector<std::wstring>& names, const wchar_t* patterns);
// The indexes of the named items that match none of the patterns, descending, so that removing them
// in turn never shifts one still to come: the items "filt" hides.
std::vector<int> IndexesToHide(const std::vector<std::wstring>& names, const wchar_t* patterns);

}  // namespace shellview
