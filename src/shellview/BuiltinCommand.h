#pragma once

#include <string>

namespace shellview {

enum class BuiltinCommandKind {
    None,          // any other line: only the interpreter sees it
    ChangeFolder,  // "cd": the browser follows when the folder exists; the interpreter runs it too
    Refresh,       // "rel": the browser window is refreshed
    Select,        // "sel": the matching items of the view are selected
    Filter,        // "filt": the items that match no pattern leave the view
};

struct BuiltinCommand {
    BuiltinCommandKind kind = BuiltinCommandKind::None;
    // ChangeFolder: the existing folder for the browser to show, spelled as typed; empty when the
    // path names no folder, and the browser stays where it is.
    std::wstring folder;
    // ChangeFolder: the line carries the switch that moves the interpreter to another drive too.
    bool switchesDrive = false;
    // Select and Filter: the pattern list after the command word.
    std::wstring patterns;
};

// Recognises the band's own commands in a submitted line. The command word may be typed in any
// letter case and with white space around the line; a relative "cd" path is taken from
// currentFolder, the folder the browser shows.
BuiltinCommand ParseBuiltinCommand(const std::wstring& line, const std::wstring& currentFolder);

// Whether the line must still go to the interpreter; for "cd" it does, so that the interpreter's
// own current directory follows the browser.
bool IsSentToInterpreter(const BuiltinCommand& command);

// The address that makes the browser show a folder: the path as it stands, with only the characters
// that a browser would read otherwise escaped.
std::wstring FolderAddress(const std::wstring& folder);

}  // namespace shellview
