#include "ListItems.h"

#include <commctrl.h>

namespace standin {

std::vector<std::wstring> ListItemTexts(HWND list, ItemState state)
{
    const UINT mask = state == ItemState::Selected ? LVIS_SELECTED : state == ItemState::Focused ? LVIS_FOCUSED : 0;
    std::vector<std::wstring> texts;
    const int count = list ? ListView_GetItemCount(list) : 0;
    for (int index = 0; index < count; ++index) {
        if (mask != 0 && !(ListView_GetItemState(list, index, mask) & mask))
            continue;
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(list, index, 0, text, MAX_PATH);
        texts.push_back(text);
    }
    return texts;
}

}  // namespace standin
