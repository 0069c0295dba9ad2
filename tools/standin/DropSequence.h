#pragma once

#include <oleidl.h>

namespace standin {

// What a drop target answered during one drag that ends over it.
struct DropOutcome {
    HRESULT enterResult = E_FAIL;
    DWORD enterEffect = DROPEFFECT_NONE;
    HRESULT overResult = E_FAIL;
    DWORD overEffect = DROPEFFECT_NONE;
    // Whether the data was dropped: as with a real drag, a target that reports no effect
    // at the last DragOver gets DragLeave instead of Drop.
    bool dropped = false;
    HRESULT dropResult = E_FAIL;
    DWORD dropEffect = DROPEFFECT_NONE;
};

// Drags the data onto the target at the screen point and releases the mouse button there:
// DragEnter, one DragOver, then Drop (or DragLeave), offering copy, move and link each time.
DropOutcome DragAndDrop(IDropTarget& target, IDataObject& data, POINTL at);

}  // namespace standin
