#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace standin {

// Which of a view's items a watcher asks for.
enum class ItemState { Any, Selected, Focused };

// The texts of a list control's items in the state, in the list's order.
std::vector<std::wstring> ListItemTexts(HWND list, ItemState state);

}  // namespace standin
