#pragma once

#include <windows.h>
#include <oaidl.h>

namespace server {
class CBrimblestoneModule;
}

namespace registration {

// The description of one dispatch interface, taken from the registered type library on first
// use and kept until the library ends; names asked for one at a time are answered from a cache.
// Holders are static; what they load is freed by the module's termination callbacks, so a holder
// itself has nothing to destroy, whichever static goes first.
class CComTypeInfoHolder {
public:
    CComTypeInfoHolder(server::CBrimblestoneModule& module, const IID& interfaceId, const GUID& libraryId,
                       WORD majorVersion, WORD minorVersion) noexcept;
    CComTypeInfoHolder(const CComTypeInfoHolder&) = delete;
    CComTypeInfoHolder& operator=(const CComTypeInfoHolder&) = delete;

    HRESULT GetTypeInfo(LCID locale, ITypeInfo** info) noexcept;
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, LCID locale, DISPID* ids) noexcept;

private:
    struct CachedName {
        BSTR name;
        UINT length;
        DISPID id;
    };

    HRESULT EnsureTypeInfo(LCID locale) noexcept;
    HRESULT LoadTypeInfo(LCID locale) noexcept;
    HRESULT BuildNameCache(ITypeInfo* info) noexcept;
    bool IsReady() const noexcept { return typeInfo != nullptr && nameCache != nullptr; }
    bool FindCachedName(const wchar_t* name, DISPID& id) const noexcept;
    static void Forget(DWORD_PTR holder) noexcept;

    server::CBrimblestoneModule& module;
    const IID interfaceId;
    const GUID libraryId;
    const WORD majorVersion;
    const WORD minorVersion;
    ITypeInfo* volatile typeInfo = nullptr;
    CachedName* volatile nameCache = nullptr;
    UINT nameCount = 0;
};

// The description of the band's IConsoleCore.
CComTypeInfoHolder& ConsoleCoreTypeInfo();

}  // namespace registration
