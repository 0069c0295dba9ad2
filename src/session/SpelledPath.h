#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace session {

// The line a spelled name goes on. The interpreter expands a "%" only where it pairs with another
// "%" on the same line ("%NAME%", "%NAME:~1,2%", "%NAME:a=b%", inside quotation marks too, and NAME
// may hold spaces and quotation marks); a "%" with no other one on its line is read as typed.
enum class Line {
    // The command line the user types: the rest of it is the user's and may hold a "%" now or
    // before Enter, so every "%" in the name may pair.
    Typed,
    // A line the console writes whole around the name, with no "%" of its own (its "cd"): only a
    // second "%" in the name itself can pair.
    Own,
};

// Whether a "%" in `text` can pair with another one on its line.
bool PercentCanPair(const std::wstring& text, Line line);

// Whether the interpreter reads the text on its line exactly as written: the code page carries
// every character exactly, and no "%" in it can make it expand a variable.
bool ReachesInterpreterUnchanged(const std::wstring& text, UINT codePage, Line line);

// How the interpreter can be given the existing file or folder `path` on `line` so that it reaches
// exactly that item: the path itself when it reaches the interpreter unchanged and is shorter than
// MAX_PATH, which the interpreter's file operations need; else with its last part replaced by that
// part's short (8.3) name; else its whole short path; else the long path when it reaches the
// interpreter unchanged. Nothing when none of these will do.
std::optional<std::wstring> SpelledPath(const std::wstring& path, UINT codePage, Line line = Line::Typed);

// How the interpreter, in `folder` (given with its trailing backslash), can be given the item
// `name` there on the line the user types: the name itself, else its short name, as SpelledPath
// decides. Only the name goes on the line: the folder's own characters do not matter.
std::optional<std::wstring> SpelledName(const std::wstring& folder, const std::wstring& name, UINT codePage);

// The part of a path after its last backslash.
std::wstring LastPart(const std::wstring& path);

}  // namespace session
