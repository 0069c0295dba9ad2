#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace dragdrop {

// The format a drop must offer: a list of files in global memory.
FORMATETC FileListFormat();

// Every path of a dropped file list, each whole, however long.
std::vector<std::wstring> ReadDroppedPaths(HDROP drop);

// How a dropped item goes onto the command line: its bare name when it lies in the folder the
// browser shows (folders compared without regard to letter case), else its full path; quoted
// when the interpreter would otherwise split it or act on one of its characters.
std::wstring NameForCommandLine(const std::wstring& path, const std::wstring& currentFolder);

}  // namespace dragdrop
