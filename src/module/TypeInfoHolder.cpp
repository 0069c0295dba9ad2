#include "module/TypeInfoHolder.h"

#include <wrl/client.h>

#include <cwchar>
#include <new>

#include "module/BrimblestoneModule.h"
#include "module/Guids.h"
#include "support/CriticalSection.h"

namespace registration {

CComTypeInfoHolder::CComTypeInfoHolder(server::CBrimblestoneModule& module, const IID& interfaceId,
                                       const GUID& libraryId, WORD majorVersion, WORD minorVersion) noexcept
    : module(module),
      interfaceId(interfaceId),
      libraryId(libraryId),
      majorVersion(majorVersion),
      minorVersion(minorVersion)
{
}

HRESULT CComTypeInfoHolder::EnsureTypeInfo(LCID locale) noexcept
{
    if (IsReady())
        return S_OK;
    support::CriticalSectionGuard guard(module.Section());
    HRESULT result = typeInfo != nullptr ? S_OK : LoadTypeInfo(locale);
    if (typeInfo != nullptr && nameCache == nullptr)
        result = BuildNameCache(typeInfo);
    return result;
}

// Called under the module's critical section.
HRESULT CComTypeInfoHolder::LoadTypeInfo(LCID locale) noexcept
{
    Microsoft::WRL::ComPtr<ITypeLib> library;
    HRESULT result = E_FAIL;
    if (libraryId == module.LibraryId() && majorVersion == 0xFFFF && minorVersion == 0xFFFF) {
        wchar_t path[MAX_PATH] = {};
        const DWORD length = ::GetModuleFileNameW(module.Instance(), path, MAX_PATH);
        if (length != 0 && length != MAX_PATH)
            result = ::LoadTypeLib(path, &library);
    } else {
        result = ::LoadRegTypeLib(libraryId, majorVersion, minorVersion, locale, &library);
    }
    if (FAILED(result))
        return result;

    Microsoft::WRL::ComPtr<ITypeInfo> info;
    result = library->GetTypeInfoOfGuid(interfaceId, &info);
    if (FAILED(result))
        return result;
    Microsoft::WRL::ComPtr<ITypeInfo2> richer;
    if (SUCCEEDED(info.As(&richer)))
        typeInfo = richer.Detach();
    else
        typeInfo = info.Detach();
    module.AddTerminationCallback(&CComTypeInfoHolder::Forget, reinterpret_cast<DWORD_PTR>(this));
    return S_OK;
}

HRESULT CComTypeInfoHolder::BuildNameCache(ITypeInfo* info) noexcept
{
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes)))
        return S_OK;
    const UINT count = attributes->cFuncs;
    // An interface without functions still gets a cache, so the fast path holds from now on.
    auto* names = new (std::nothrow) CachedName[count > 0 ? count : 1]();
    if (names == nullptr) {
        info->ReleaseTypeAttr(attributes);
        return E_OUTOFMEMORY;
    }
    for (UINT index = 0; index < count; ++index) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(index, &function)))
            continue;
        if (SUCCEEDED(info->GetDocumentation(function->memid, &names[index].name, nullptr, nullptr, nullptr))) {
            names[index].length = ::SysStringLen(names[index].name);
            names[index].id = function->memid;
        }
        info->ReleaseFuncDesc(function);
    }
    nameCount = count;
    nameCache = names;
    info->ReleaseTypeAttr(attributes);
    return S_OK;
}

void CComTypeInfoHolder::Forget(DWORD_PTR holderAddress) noexcept
{
    auto* holder = reinterpret_cast<CComTypeInfoHolder*>(holderAddress);
    if (holder->typeInfo != nullptr) {
        holder->typeInfo->Release();
        holder->typeInfo = nullptr;
    }
    if (holder->nameCache != nullptr) {
        for (UINT index = 0; index < holder->nameCount; ++index)
            ::SysFreeString(holder->nameCache[index].name);
        delete[] holder->nameCache;
        holder->nameCache = nullptr;
        holder->nameCount = 0;
    }
}

bool CComTypeInfoHolder::FindCachedName(const wchar_t* name, DISPID& id) const noexcept
{
    const size_t length = ::wcslen(name);
    for (UINT index = nameCount; index-- > 0;) {
        const CachedName& entry = nameCache[index];
        if (entry.name != nullptr && entry.length == length &&
            ::wmemcmp(entry.name, name, length) == 0) {
            id = entry.id;
            return true;
        }
    }
    return false;
}

HRESULT CComTypeInfoHolder::GetTypeInfo(LCID locale, ITypeInfo** info) noexcept
{
    if (info == nullptr)
        return E_POINTER;
    HRESULT result = E_FAIL;
    if (typeInfo == nullptr)
        result = EnsureTypeInfo(locale);
    *info = typeInfo;
    if (*info == nullptr)
        return result;
    (*info)->AddRef();
    return S_OK;
}

HRESULT CComTypeInfoHolder::GetIDsOfNames(LPOLESTR* names, UINT count, LCID locale, DISPID* ids) noexcept
{
    if (!IsReady()) {
        const HRESULT result = EnsureTypeInfo(locale);
        if (typeInfo == nullptr)
            return result;
    }
    if (nameCache != nullptr && count == 1 && names != nullptr && names[0] != nullptr && ids != nullptr &&
        FindCachedName(names[0], ids[0]))
        return S_OK;
    return typeInfo->GetIDsOfNames(names, count, ids);
}

CComTypeInfoHolder& ConsoleCoreTypeInfo()
{
    static CComTypeInfoHolder holder(*server::libraryModule, IID_IConsoleCore, LIBID_BrimblestoneLib, 1, 0);
    return holder;
}

}  // namespace registration
