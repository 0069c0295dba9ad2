#pragma once

#include "ComObject.h"

#include <oaidl.h>
#include <wrl/client.h>

#include <vector>

namespace shellwindows {

// The browsers of the window list as they were when _NewEnum was called, handed out as
// VT_DISPATCH variants.
class WindowEnumerator final : public standin::ComObject<IEnumVARIANT> {
public:
    explicit WindowEnumerator(std::vector<Microsoft::WRL::ComPtr<IDispatch>> browsers, size_t position = 0);

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumVARIANT** copy) override;

private:
    std::vector<Microsoft::WRL::ComPtr<IDispatch>> browsers;
    size_t position;
};

}  // namespace shellwindows
