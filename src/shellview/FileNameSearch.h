#pragma once

#include "support/UniqueHandle.h"

#include <optional>
#include <string>

namespace shellview {

// One cycle of file-system completion: the entries that a search pattern finds, one at a time, in
// the order the file system returns them (directories, hidden files, "." and ".." included); after
// the last entry the search starts again from the first.
class FileNameSearch {
public:
    // Starts a new search, ending any open one. The first entry's bare name, or nothing, and then
    // no search stays open.
    std::optional<std::wstring> Start(const std::wstring& searchPattern);

    // The next entry's name; after the last entry, the first again. Nothing when no search is open
    // or the restarted search finds nothing any more.
    std::optional<std::wstring> Next();

    bool IsOpen() const;
    void Close();

private:
    support::UniqueFindHandle handle;
    std::wstring pattern;
};

}  // namespace shellview
