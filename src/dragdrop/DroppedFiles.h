#pragma once

#include <windows.h>
#include <objidl.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace dragdrop {

// The format a drop must offer: a list of files in global memory.
FORMATETC FileListFormat();

// Every path of a dropped file list, each whole, however long.
std::vector<std::wstring> ReadDroppedPaths(HDROP drop);

// Whether the dragged data offers a file list, the only thing a console takes.
bool OffersFileList(IDataObject* data);
// Every path of the data's file list; none when the data gives no file list after all.
std::vector<std::wstring> DroppedPaths(IDataObject* data);

// How a dropped item goes onto the command line: its bare name when it lies in the folder the
// browser shows (folders compared without regard to letter case), else its full path; quoted
// when the interpreter would otherwise split it or act on one of its characters.
std::wstring NameForCommandLine(const std::wstring& path, const std::wstring& currentFolder);

}  // namespace dragdrop
