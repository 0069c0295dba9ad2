#include "ShellWindowRegistration.h"

#include "ItemIdList.h"

#include <oleauto.h>
#include <shlobj.h>

#include <cstring>

namespace standin {

void SetLocation(support::UniqueVariant& location, const std::wstring& folder)
{
    const UniqueItemIdList id(::ILCreateFromPathW(folder.c_str()));
    if (!id)
        return;
    const UINT size = ::ILGetSize(id.Get());
    location.parray = ::SafeArrayCreateVector(VT_UI1, 0, size);
    if (!location.parray)
        return;
    location.vt = VT_ARRAY | VT_UI1;
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(location.parray, &data)))
        return;
    std::memcpy(data, id.Get(), size);
    ::SafeArrayUnaccessData(location.parray);
}

ShellWindowRegistration::ShellWindowRegistration(IDispatch* browser, HWND topWindow, const std::wstring& folder)
{
    if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&list))))
        return;
    const LONG window = static_cast<LONG>(reinterpret_cast<LONG_PTR>(topWindow));
    if (FAILED(list->Register(browser, window, SWC_EXPLORER, &cookie))) {
        cookie = 0;
        list.Reset();
        return;
    }
    Navigated(folder);
}

ShellWindowRegistration::~ShellWindowRegistration()
{
    if (IsRegistered())
        list->Revoke(cookie);
}

void ShellWindowRegistration::Navigated(const std::wstring& folder)
{
    if (!IsRegistered())
        return;
    support::UniqueVariant location;
    SetLocation(location, folder);
    list->OnNavigate(cookie, &location);
}

void ShellWindowRegistration::Activated(bool active)
{
    if (IsRegistered())
        list->OnActivated(cookie, active ? VARIANT_TRUE : VARIANT_FALSE);
}

}  // namespace standin
