#pragma once

#include <exdisp.h>
#include <windows.h>

#include <string>

namespace band {

// The folder that the browser shows, as a file-system path. FALSE, with "C:\" in path, when
// there is no browser, its location cannot be read, or it is not a file-system folder.
// addTrailingBackslash ends the path with "\"; a drive root always keeps exactly one.
BOOL GetFolderPath(IWebBrowser2* browser, std::wstring& path, BOOL addTrailingBackslash);

}  // namespace band
