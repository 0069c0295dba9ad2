#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace shellview {

// The list control of the folder view that the browser window shows, or null (a web page, a
// view still being built). Only direct children are searched at each step, so no window outside
// the browser is ever returned. Look it up each time it is needed: the browser re-creates it for
// another folder or another view mode.
HWND FindShellListView(HWND browserWindow);

// Number of items in the list; a null list has none.
int GetViewItemCount(HWND list);

// The file-system name of one item, as the file system spells it (with its extension, however
// the view displays it). False for an item that is not a file-system object.
bool GetViewItemName(HWND list, int index, wchar_t (&name)[MAX_PATH]);

// Every item's name in the list's order; empty for an item that is not a file-system object.
std::vector<std::wstring> ReadViewNames(HWND list);

// Clears the selection and the focus, then selects the items of the indexes, given in ascending
// order; the first of them is focused and scrolled into view.
void SelectListItems(HWND list, const std::vector<int>& ascending);
// Removes the items of the indexes, given in descending order, from the list only: the files stay.
// The list is painted once at the end. Returns the number removed.
int RemoveListItems(HWND list, const std::vector<int>& descending);

}  // namespace shellview
