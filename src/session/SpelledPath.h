#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace session {

// Whether the interpreter reads the text exactly as written: the code page carries every character
// exactly, and no "%" can make it expand a variable (it does so inside quotation marks too).
bool ReachesInterpreterUnchanged(const std::wstring& text, UINT codePage);

// How the interpreter can be given the existing file or folder `path` so that it reaches exactly
// that item: the path itself when it reaches the interpreter unchanged and is shorter than
// MAX_PATH, which the interpreter's file operations need; else with its last part replaced by that
// part's short (8.3) name; else its whole short path; else the long path when it reaches the
// interpreter unchanged. Nothing when none of these will do.
std::optional<std::wstring> SpelledPath(const std::wstring& path, UINT codePage);

// How the interpreter, in `folder` (given with its trailing backslash), can be given the item
// `name` there: the name itself, else its short name, as SpelledPath decides.
std::optional<std::wstring> SpelledName(const std::wstring& folder, const std::wstring& name, UINT codePage);

// The part of a path after its last backslash.
std::wstring LastPart(const std::wstring& path);

}  // namespace session
