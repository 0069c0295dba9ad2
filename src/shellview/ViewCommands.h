#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct IWebBrowser2;

namespace shellview {

class ShellFolderView;

// Selects the items whose names match the pattern list, after clearing the selection; the first
// of them gets the focus and is scrolled into view. Items without a file-system name are never
// selected. Returns the number of items selected.
int SelectMatchingItems(HWND list, const wchar_t* patterns, DWORD flags);

// Removes from the list the items whose names match no pattern, last item first, after clearing
// the selection and the focus. Only the list changes: the files stay, and a refresh of the
// browser brings them back. Items without a file-system name are kept. Returns the number of
// items removed.
int FilterItems(HWND list, const wchar_t* patterns, DWORD flags);

// The "sel" command: selects the matching items and, when there are any, moves the keyboard focus
// to the list so that the user can act on them at once. Returns the number of items selected.
int RunSelectCommand(HWND list, const wchar_t* patterns);

// The "filt" command: filters the list; when nothing was removed the browser is refreshed, which
// brings back every item that earlier filters removed. Returns the number of items removed.
int RunFilterCommand(HWND list, const wchar_t* patterns, IWebBrowser2* browser);

// The same commands on the browser's shell view, through its interfaces alone. "sel" selects by
// the index of IFolderView::Item; "filt" removes through IShellFolderView::RemoveObject and
// answers nothing when the view does not let items be removed.
int RunSelectCommand(const ShellFolderView& view, const wchar_t* patterns);
std::optional<int> RunFilterCommand(const ShellFolderView& view, const wchar_t* patterns, IWebBrowser2* browser);

// What the console says when a view keeps its items against "filt".
std::wstring FilterRefusedMessage();

}  // namespace shellview
