#pragma once

#include <windows.h>
#include <oleidl.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

namespace companion {

// Files dragged from anywhere onto a docked console: a file list is offered a link (its names go
// onto the command line, nothing is copied or moved), anything else is refused. The drag image
// is drawn over the console as the shell draws it elsewhere.
class ConsoleDropTarget final : public IDropTarget {
public:
    using Dropped = std::function<void(std::vector<std::wstring> paths)>;

    // One reference, held by the caller; `window` is where the drag image is drawn.
    static Microsoft::WRL::ComPtr<ConsoleDropTarget> Create(HWND window, Dropped dropped);
    // The console is gone: later drops are refused.
    void Detach() noexcept { dropped = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    ConsoleDropTarget(HWND window, Dropped dropped);
    ~ConsoleDropTarget() = default;
    DWORD Effect() const noexcept;

    HWND window;
    Dropped dropped;
    Microsoft::WRL::ComPtr<IDropTargetHelper> image;
    bool offersFiles = false;
    ULONG references = 1;
};

}  // namespace companion
