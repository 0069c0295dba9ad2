#pragma once

#include <windows.h>

#include <string>

namespace session {

// The one line the console writes when it does not pass something on to the interpreter, saying
// what stood in the way in the interpreter's code page.

// The browser shows a folder whose path, short or long, the interpreter cannot be given.
std::wstring FolderRefusal(const std::wstring& folder, UINT codePage);

// A typed line holds characters the code page lacks; it stays on the command line.
std::wstring LineRefusal(const std::wstring& line, UINT codePage);

// A dropped or completed name that the interpreter cannot be given, short or long.
std::wstring NameRefusal(const std::wstring& path, UINT codePage);

// The interpreter could not be started in `folder`; `error` is the last error of the start.
std::wstring StartRefusal(DWORD error, const std::wstring& folder);

}  // namespace session
