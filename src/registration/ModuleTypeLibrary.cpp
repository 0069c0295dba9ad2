#include "registration/ModuleTypeLibrary.h"

#include <wrl/client.h>

#include <string>

#include "registration/ErrorHResult.h"
#include "module/BrimblestoneModule.h"
#include "support/ComResources.h"

namespace registration {
namespace {

// Where the file name's extension begins: the last "." after the last backslash, else the end.
size_t ExtensionPosition(const std::wstring& path)
{
    const size_t dot = path.rfind(L'.');
    const size_t backslash = path.rfind(L'\\');
    if (dot == std::wstring::npos || (backslash != std::wstring::npos && backslash > dot))
        return path.size();
    return dot;
}

// Cut after the last backslash, slash or colon, keeping the separator.
std::wstring HelpFolderOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

}  // namespace

HRESULT LoadModuleTypeLibrary(HINSTANCE instance, BSTR* path, ITypeLib** library)
{
    if (path == nullptr || library == nullptr)
        return E_POINTER;
    *path = nullptr;
    *library = nullptr;

    wchar_t modulePath[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(instance, modulePath, MAX_PATH);
    if (length == 0)
        return HResultFromLastError();
    if (length == MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);

    std::wstring used(modulePath, length);
    HRESULT result = ::LoadTypeLib(used.c_str(), library);
    if (FAILED(result)) {
        const size_t extension = ExtensionPosition(used);
        if (extension + 5 > MAX_PATH)
            return E_FAIL;
        used = used.substr(0, extension) + L".tlb";
        result = ::LoadTypeLib(used.c_str(), library);
        if (FAILED(result))
            return result;
    }
    *path = ::SysAllocString(used.c_str());
    if (*path == nullptr) {
        (*library)->Release();
        *library = nullptr;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT RegisterModuleTypeLibrary(HINSTANCE instance)
{
    support::UniqueBstr path;
    Microsoft::WRL::ComPtr<ITypeLib> library;
    HRESULT result = LoadModuleTypeLibrary(instance, path.Receive(), &library);
    if (FAILED(result))
        return result;
    std::wstring helpFolder = HelpFolderOf(path.Get());
    return ::RegisterTypeLib(library.Get(), path.Get(), helpFolder.empty() ? nullptr : &helpFolder[0]);
}

HRESULT UnregisterModuleTypeLibrary(HINSTANCE instance)
{
    support::UniqueBstr path;
    Microsoft::WRL::ComPtr<ITypeLib> library;
    HRESULT result = LoadModuleTypeLibrary(instance, path.Receive(), &library);
    if (FAILED(result))
        return result;
    TLIBATTR* attributes = nullptr;
    result = library->GetLibAttr(&attributes);
    if (FAILED(result))
        return result;
    result = ::UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                 attributes->lcid, attributes->syskind);
    library->ReleaseTLibAttr(attributes);
    return result;
}

HRESULT RegisterTypeLibraryOf(server::CBrimblestoneModule& module)
{
    return RegisterModuleTypeLibrary(module.Instance());
}

HRESULT UnregisterTypeLibraryOf(server::CBrimblestoneModule& module)
{
    return UnregisterModuleTypeLibrary(module.Instance());
}

}  // namespace registration
