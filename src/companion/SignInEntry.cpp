#include "companion/SignInEntry.h"

#include "support/UniqueRegistryKey.h"

namespace companion {
namespace {

constexpr const wchar_t* RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

LSTATUS SetSignInEntry(bool start, const std::wstring& programPath)
{
    support::UniqueRegistryKey key;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE,
                                       nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    if (!start) {
        status = ::RegDeleteValueW(key.Get(), SignInEntryName);
        return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
    }
    // Quoted, as the path may hold spaces ("C:\Program Files\...").
    const std::wstring command = L"\"" + programPath + L"\"";
    return ::RegSetValueExW(key.Get(), SignInEntryName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

}  // namespace companion
