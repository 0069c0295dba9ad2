#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace settings {

// The command lines run in all consoles of the user, newest last, kept in one file so that a
// new console can recall them. The file is UTF-8 text: a first line naming the format (the
// Header below), then one command line per line. It is only ever replaced whole (a temporary
// file moved over it), under a lock file beside it, so that a reader never sees half a file and
// two consoles saving at once both keep their lines.
class HistoryFile {
public:
    static constexpr const char* Header = "Brimblestone command history 1";
    // A larger file is not ours: it is not read.
    static constexpr ULONGLONG LargestFile = 16 * 1024 * 1024;

    explicit HistoryFile(std::wstring path);
    // %LOCALAPPDATA%\Brimblestone\history.txt; empty when the system names no such folder.
    static std::wstring DefaultPath();

    const std::wstring& Path() const noexcept { return path; }

    // Whether a command line is saved: not when it is empty or starts with a space (so that a
    // secret can be typed without being kept), nor when it holds a line break, a null character
    // or half a surrogate pair, which the file cannot give back as they were typed.
    static bool IsKept(const std::wstring& line);

    struct Loaded {
        std::vector<std::wstring> lines;  // the newest ones, newest last
        std::wstring problem;             // one line for the console when the file was not read
    };
    // Reads the newest lines. A damaged or foreign file (not UTF-8 text, binary data, another
    // format, too large) is not read; it is renamed to "<name>.damaged" so that saving can start
    // afresh. Never waits long: when another console holds the lock, the file is read without it.
    Loaded Load(size_t newest);

    // Adds the line, when it is kept, to what the file holds now (other consoles may have added
    // to it meanwhile) and keeps the newest `keep` lines. A line that cannot be saved now is
    // saved with the next one. Returns a line for the console when saving starts to fail, and
    // nothing while it keeps failing or once it works.
    std::wstring Append(const std::wstring& line, size_t keep);

private:
    std::wstring path;
    std::vector<std::wstring> waiting;  // kept lines not saved yet, oldest first
    bool failing = false;
};

}  // namespace settings
