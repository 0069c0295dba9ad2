#include "companion/ConsoleDropTarget.h"

#include "dragdrop/DroppedFiles.h"
#include "support/ComBoundary.h"

#include <shlguid.h>

namespace companion {

Microsoft::WRL::ComPtr<ConsoleDropTarget> ConsoleDropTarget::Create(HWND window, Dropped dropped)
{
    Microsoft::WRL::ComPtr<ConsoleDropTarget> target;
    target.Attach(new ConsoleDropTarget(window, std::move(dropped)));
    return target;
}

ConsoleDropTarget::ConsoleDropTarget(HWND window, Dropped dropped) : window(window), dropped(std::move(dropped))
{
    // Without the helper the drop still works; only the image is missing.
    ::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&image));
}

STDMETHODIMP ConsoleDropTarget::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ConsoleDropTarget::AddRef()
{
    return ++references;
}

STDMETHODIMP_(ULONG) ConsoleDropTarget::Release()
{
    const ULONG remaining = --references;
    if (remaining == 0)
        delete this;
    return remaining;
}

DWORD ConsoleDropTarget::Effect() const noexcept
{
    return offersFiles && dropped ? DROPEFFECT_LINK : DROPEFFECT_NONE;
}

STDMETHODIMP ConsoleDropTarget::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect)
try {
    if (effect == nullptr)
        return E_INVALIDARG;
    offersFiles = dragdrop::OffersFileList(data);
    *effect = Effect();
    POINT where = {point.x, point.y};
    if (image && *effect != DROPEFFECT_NONE)
        image->DragEnter(window, data, &where, *effect);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP ConsoleDropTarget::DragOver(DWORD, POINTL point, DWORD* effect)
try {
    if (effect == nullptr)
        return E_INVALIDARG;
    *effect = Effect();
    POINT where = {point.x, point.y};
    if (image)
        image->DragOver(&where, *effect);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP ConsoleDropTarget::DragLeave()
try {
    offersFiles = false;
    if (image)
        image->DragLeave();
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

STDMETHODIMP ConsoleDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect)
try {
    if (effect == nullptr)
        return E_INVALIDARG;
    offersFiles = dragdrop::OffersFileList(data);
    *effect = Effect();
    POINT where = {point.x, point.y};
    if (image)
        image->Drop(data, &where, *effect);
    if (*effect != DROPEFFECT_NONE)
        dropped(dragdrop::DroppedPaths(data));
    offersFiles = false;
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

}  // namespace companion
