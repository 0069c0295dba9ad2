#pragma once

#include "ComObject.h"
#include "ShellWindowList.h"

#include <wrl/client.h>

namespace shellwindows {

// Hands every client the one list of the session, as the shell's own server does.
class ListFactory final : public standin::ComObject<IClassFactory> {
public:
    explicit ListFactory(ShellWindowList* list) : list(list) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    Microsoft::WRL::ComPtr<ShellWindowList> list;
};

}  // namespace shellwindows
