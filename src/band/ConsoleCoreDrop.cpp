#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

#include "dragdrop/DroppedFiles.h"

namespace band {
namespace {

// A drop only produces text, so a file list is offered a link; anything else is refused.
void ReportEffect(DWORD* effect, bool accepted)
{
    if (effect != nullptr)
        *effect = accepted ? DROPEFFECT_LINK : DROPEFFECT_NONE;
}

}  // namespace

STDMETHODIMP CConsoleCore::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect)
try {
    dragOffersFiles = dragdrop::OffersFileList(data);
    ReportEffect(effect, dragOffersFiles);
    if (!dragOffersFiles)
        return S_OK;
    if (dropHelper) {
        POINT where = {point.x, point.y};
        dropHelper->DragEnter(console.Window(), data, &where, DROPEFFECT_LINK);
    }
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::DragOver(DWORD, POINTL point, DWORD* effect)
try {
    ReportEffect(effect, dragOffersFiles);
    if (dropHelper) {
        POINT where = {point.x, point.y};
        dropHelper->DragOver(&where, effect != nullptr ? *effect : DROPEFFECT_NONE);
    }
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::DragLeave()
try {
    dragOffersFiles = false;
    if (dropHelper)
        dropHelper->DragLeave();
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP CConsoleCore::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect)
try {
    dragOffersFiles = false;
    const bool accepted = dragdrop::OffersFileList(data);
    ReportEffect(effect, accepted);
    if (!accepted)
        return S_OK;
    console.FilesDropped(dragdrop::DroppedPaths(data));
    if (dropHelper) {
        POINT where = {point.x, point.y};
        dropHelper->Drop(data, &where, effect != nullptr ? *effect : DROPEFFECT_LINK);
    }
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

}  // namespace band
