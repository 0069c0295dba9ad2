#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// Registry helpers shared by the test programs that write to the registry.
namespace registry_test {

constexpr const wchar_t* ScratchPath = L"Software\\BrimblestoneTest";

// HKCU\Software\BrimblestoneTest for one test: created empty, removed with everything below it.
class ScratchKey {
public:
    ScratchKey()
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchPath);
        ::RegCreateKeyExW(HKEY_CURRENT_USER, ScratchPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr);
    }
    ~ScratchKey()
    {
        ::RegCloseKey(key);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScratchPath);
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Get() const { return key; }

private:
    HKEY key = nullptr;
};

// Maps a predefined key such as HKEY_CLASSES_ROOT to another key for this process, for one scope.
class PredefinedKeyOverride {
public:
    PredefinedKeyOverride(HKEY predefined, HKEY replacement) : predefined(predefined)
    {
        ::RegOverridePredefKey(predefined, replacement);
    }
    ~PredefinedKeyOverride() { ::RegOverridePredefKey(predefined, nullptr); }
    PredefinedKeyOverride(const PredefinedKeyOverride&) = delete;
    PredefinedKeyOverride& operator=(const PredefinedKeyOverride&) = delete;

private:
    HKEY predefined;
};

// Creates (or opens) `path` under `parent` and returns it open; the caller closes it.
inline HKEY CreateOpenKey(HKEY parent, const wchar_t* path)
{
    HKEY key = nullptr;
    ::RegCreateKeyExW(parent, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

// Two keys in the scratch key that stand in for the classes root and the machine key.
class ScratchRoots {
public:
    ScratchRoots()
        : classesRoot(CreateOpenKey(scratch.Get(), L"HKCR")), machine(CreateOpenKey(scratch.Get(), L"HKLM"))
    {
    }
    ~ScratchRoots()
    {
        ::RegCloseKey(classesRoot);
        ::RegCloseKey(machine);
    }
    ScratchRoots(const ScratchRoots&) = delete;
    ScratchRoots& operator=(const ScratchRoots&) = delete;

    ScratchKey scratch;
    HKEY classesRoot;
    HKEY machine;
};

// Creates (or opens) `path` under `parent` and closes it again.
inline LONG CreateKey(HKEY parent, const wchar_t* path)
{
    const HKEY key = CreateOpenKey(parent, path);
    if (!key)
        return ERROR_CANTWRITE;
    ::RegCloseKey(key);
    return ERROR_SUCCESS;
}

inline bool KeyExists(HKEY parent, const wchar_t* path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

inline std::wstring FormatData(DWORD type, const std::vector<BYTE>& data)
{
    if (type == REG_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
        return L"s:" + text.substr(0, text.find(L'\0'));
    }
    std::wstring formatted = type == REG_BINARY ? L"b:" : type == REG_MULTI_SZ ? L"m:"
                           : type == REG_DWORD  ? L"d:" : L"?:";
    for (BYTE byte : data) {
        wchar_t digits[3];
        std::swprintf(digits, 3, L"%02X", byte);
        formatted += digits;
    }
    return formatted;
}

inline void DumpKey(HKEY key, const std::wstring& path, std::vector<std::wstring>& lines)
{
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        BYTE data[4096];
        DWORD size = sizeof(data);
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &size) !=
            ERROR_SUCCESS)
            break;
        lines.push_back(path + L" : " + name + L" = " +
                        FormatData(type, std::vector<BYTE>(data, data + size)));
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::wstring subpath = path.empty() ? name : path + L"\\" + name;
        lines.push_back(subpath);
        HKEY subkey = nullptr;
        if (::RegOpenKeyExW(key, name, 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            DumpKey(subkey, subpath, lines);
            ::RegCloseKey(subkey);
        }
    }
}

using Lines = std::vector<std::wstring>;

inline Lines Sorted(Lines lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Every key below `key` as its relative path, every value as "path : name = type:data"; sorted.
inline Lines DumpTree(HKEY key)
{
    Lines lines;
    DumpKey(key, L"", lines);
    return Sorted(lines);
}

}  // namespace registry_test
