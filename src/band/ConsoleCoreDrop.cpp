#include "band/ConsoleCore.h"
#include "support/ComBoundary.h"

#include "dragdrop/DroppedFiles.h"
#include "support/ComResources.h"

namespace band {
namespace {

bool OffersFileList(IDataObject* data)
{
    FORMATETC format = dragdrop::FileListFormat();
    return data != nullptr && SUCCEEDED(data->QueryGetData(&format));
}

// A drop only produces text, so a file list is offered a link; anything else is refused.
void ReportEffect(DWORD* effect, bool accepted)
{
    if (effect != nullptr)
        *effect = accepted ? DROPEFFECT_LINK : DROPEFFECT_NONE;
}

// Every path of the dropped file list; none when the data gives no file list after all.
std::vector<std::wstring> DroppedPaths(IDataObject* data)
{
    FORMATETC format = dragdrop::FileListFormat();
    support::UniqueStgMedium medium;
    if (FAILED(data->GetData(&format, &medium)))
        return {};
    const support::GlobalLockScope locked(medium.hGlobal);
    if (locked.Get() == nullptr)
        return {};
    return dragdrop::ReadDroppedPaths(static_cast<HDROP>(locked.Get()));
}

}  // namespace

STDMETHODIMP CConsoleCore::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect)
try {
    dragOffersFiles = OffersFileList(data);
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
    const bool accepted = OffersFileList(data);
    ReportEffect(effect, accepted);
    if (!accepted)
        return S_OK;
    console.FilesDropped(DroppedPaths(data));
    if (dropHelper) {
        POINT where = {point.x, point.y};
        dropHelper->Drop(data, &where, effect != nullptr ? *effect : DROPEFFECT_LINK);
    }
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

}  // namespace band
