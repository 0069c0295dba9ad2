#include "DropSequence.h"

namespace standin {
namespace {

constexpr DWORD OfferedEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

}  // namespace

DropOutcome DragAndDrop(IDropTarget& target, IDataObject& data, POINTL at)
{
    DropOutcome outcome;
    outcome.enterEffect = OfferedEffects;
    outcome.enterResult = target.DragEnter(&data, MK_LBUTTON, at, &outcome.enterEffect);
    outcome.overEffect = OfferedEffects;
    outcome.overResult = target.DragOver(MK_LBUTTON, at, &outcome.overEffect);
    if (FAILED(outcome.overResult) || (outcome.overEffect & OfferedEffects) == DROPEFFECT_NONE) {
        target.DragLeave();
        return outcome;
    }
    outcome.dropped = true;
    outcome.dropEffect = OfferedEffects;
    outcome.dropResult = target.Drop(&data, 0, at, &outcome.dropEffect);
    return outcome;
}

}  // namespace standin
