#include "WindowEnumerator.h"

#include "support/ComBoundary.h"

#include <algorithm>

namespace shellwindows {

WindowEnumerator::WindowEnumerator(std::vector<Microsoft::WRL::ComPtr<IDispatch>> browsers, size_t position)
    : browsers(std::move(browsers)), position(position)
{
}

STDMETHODIMP WindowEnumerator::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT)
        return Answer(static_cast<IEnumVARIANT*>(this), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP WindowEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (fetched)
        *fetched = 0;
    if (!items || (count > 1 && !fetched))
        return E_POINTER;
    ULONG given = 0;
    for (; given < count && position < browsers.size(); ++given, ++position) {
        ::VariantInit(&items[given]);
        items[given].vt = VT_DISPATCH;
        items[given].pdispVal = browsers[position].Get();
        items[given].pdispVal->AddRef();
    }
    if (fetched)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP WindowEnumerator::Skip(ULONG count)
{
    const size_t left = browsers.size() - position;
    position += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

STDMETHODIMP WindowEnumerator::Reset()
{
    position = 0;
    return S_OK;
}

STDMETHODIMP WindowEnumerator::Clone(IEnumVARIANT** copy)
try {
    if (!copy)
        return E_POINTER;
    *copy = nullptr;
    *copy = new WindowEnumerator(browsers, position);
    return S_OK;
} catch (...) {
    return support::CaughtResult();
}

}  // namespace shellwindows
