#pragma once

#include <optional>
#include <string>

namespace standin {

// The folder as the browser shows it: a full path with "." and ".." resolved, each component
// spelt as the file system spells it, the drive letter in upper case, and no trailing
// backslash except after a drive root. Nothing when no such folder exists. A relative path is
// taken relative to `base`, and names nothing without one.
std::optional<std::wstring> ExistingFolder(const std::wstring& path, const std::wstring& base);

}  // namespace standin
