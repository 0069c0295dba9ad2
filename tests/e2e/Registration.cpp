#include "Registration.h"

#include "RegistryTestSupport.h"
#include "module/Guids.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>

namespace e2e {
namespace {

struct RootedKey {
    HKEY root;
    const wchar_t* rootName;
    std::wstring path;
};

void AddKeyTree(const RootedKey& key, Lines& lines)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(key.root, key.path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return;
    const std::wstring prefix = std::wstring(key.rootName) + L"\\" + key.path;
    lines.push_back(prefix);
    for (const std::wstring& line : registry_test::DumpTree(opened))
        lines.push_back(prefix + (line.compare(0, 3, L" : ") == 0 ? line : L"\\" + line));
    ::RegCloseKey(opened);
}

void AddToolbarValue(Lines& lines)
{
    const wchar_t* toolbar = L"Software\\Microsoft\\Internet Explorer\\Toolbar";
    DWORD type = 0;
    BYTE data[64];
    DWORD size = sizeof(data);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, toolbar, server::ConsoleCoreClassIdText, RRF_RT_ANY, &type,
                       data, &size) != ERROR_SUCCESS)
        return;
    lines.push_back(std::wstring(L"HKLM\\") + toolbar + L" : " + server::ConsoleCoreClassIdText + L" = " +
                    registry_test::FormatData(type, std::vector<BYTE>(data, data + size)));
}

const std::wstring Clsid = std::wstring(L"HKCR\\CLSID\\") + server::ConsoleCoreClassIdText;
const std::wstring AppId = std::wstring(L"HKCR\\AppID\\") + server::AppIdText;
const std::wstring Interface = std::wstring(L"HKCR\\Interface\\") + server::ConsoleCoreInterfaceIdText;
const std::wstring TypeLib = std::wstring(L"HKCR\\TypeLib\\") + server::LibraryIdText;

#ifdef _WIN64
constexpr const wchar_t* PlatformKey = L"win64";
#else
constexpr const wchar_t* PlatformKey = L"win32";
#endif

// What the platform records as the library's help string is what the loaded type library answers.
std::wstring TypeLibraryHelpString(const std::wstring& typeLibraryPath)
{
    Microsoft::WRL::ComPtr<ITypeLib> library;
    BSTR help = nullptr;
    if (FAILED(::LoadTypeLib(typeLibraryPath.c_str(), &library)) ||
        FAILED(library->GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr)))
        return L"(no type library at " + typeLibraryPath + L")";
    const std::wstring text(help, ::SysStringLen(help));
    ::SysFreeString(help);
    return text;
}

std::wstring FolderWithSeparator(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// What the library and its type library write for a library file at `path`.
}  // namespace

Lines ExpectedFootprint(const std::wstring& path, const std::wstring& typeLibraryPath)
{
    const std::wstring clsid = server::ConsoleCoreClassIdText;
    const std::wstring libid = server::LibraryIdText;
    const std::wstring typeLibVersion = TypeLib + L"\\1.0";
    return registry_test::Sorted({
        AppId,
        AppId + L" :  = s:Brimblestone",
        L"HKCR\\AppID\\Brimblestone.DLL",
        L"HKCR\\AppID\\Brimblestone.DLL : AppID = s:" + std::wstring(server::AppIdText),
        L"HKCR\\Brimblestone.ConsoleCore",
        L"HKCR\\Brimblestone.ConsoleCore :  = s:ConsoleCore Class",
        L"HKCR\\Brimblestone.ConsoleCore\\CLSID",
        L"HKCR\\Brimblestone.ConsoleCore\\CLSID :  = s:" + clsid,
        L"HKCR\\Brimblestone.ConsoleCore\\CurVer",
        L"HKCR\\Brimblestone.ConsoleCore\\CurVer :  = s:Brimblestone.ConsoleCore.1",
        L"HKCR\\Brimblestone.ConsoleCore.1",
        L"HKCR\\Brimblestone.ConsoleCore.1 :  = s:ConsoleCore Class",
        L"HKCR\\Brimblestone.ConsoleCore.1\\CLSID",
        L"HKCR\\Brimblestone.ConsoleCore.1\\CLSID :  = s:" + clsid,
        Clsid,
        Clsid + L" :  = s:Brimblestone",
        Clsid + L" : AppID = s:" + std::wstring(server::AppIdText),
        Clsid + L"\\InprocServer32",
        Clsid + L"\\InprocServer32 :  = s:" + path,
        Clsid + L"\\InprocServer32 : ThreadingModel = s:Apartment",
        Clsid + L"\\ProgID",
        Clsid + L"\\ProgID :  = s:Brimblestone.ConsoleCore.1",
        Clsid + L"\\Programmable",
        Clsid + L"\\TypeLib",
        Clsid + L"\\TypeLib :  = s:" + libid,
        Clsid + L"\\VersionIndependentProgID",
        Clsid + L"\\VersionIndependentProgID :  = s:Brimblestone.ConsoleCore",
        Interface,
        Interface + L" :  = s:IConsoleCore",
        Interface + L"\\ProxyStubClsid",
        Interface + L"\\ProxyStubClsid :  = s:{00020424-0000-0000-C000-000000000046}",
        Interface + L"\\ProxyStubClsid32",
        Interface + L"\\ProxyStubClsid32 :  = s:{00020424-0000-0000-C000-000000000046}",
        Interface + L"\\TypeLib",
        Interface + L"\\TypeLib :  = s:" + libid,
        Interface + L"\\TypeLib : Version = s:1.0",
        TypeLib,
        typeLibVersion,
        typeLibVersion + L" :  = s:" + TypeLibraryHelpString(typeLibraryPath),
        typeLibVersion + L"\\0",
        typeLibVersion + L"\\0\\" + PlatformKey,
        typeLibVersion + L"\\0\\" + PlatformKey + L" :  = s:" + typeLibraryPath,
        typeLibVersion + L"\\FLAGS",
        typeLibVersion + L"\\HELPDIR",
        typeLibVersion + L"\\HELPDIR :  = s:" + FolderWithSeparator(typeLibraryPath),
        L"HKLM\\Software\\Microsoft\\Internet Explorer\\Toolbar : " + clsid + L" = b:",
    });
}

void PrintLines(const Lines& lines)
{
    for (const std::wstring& line : lines) {
        std::wstring printable;
        for (wchar_t character : line) {
            wchar_t escaped[8];
            std::swprintf(escaped, 8, character < 0x80 ? L"%lc" : L"\\x%04X", character);
            printable += escaped;
        }
        std::wprintf(L"  %ls\n", printable.c_str());
    }
}

Lines RegistrationFootprint()
{
    const std::wstring classesKeys[] = {
        std::wstring(L"AppID\\") + server::AppIdText,
        L"AppID\\Brimblestone.DLL",
        L"Brimblestone.ConsoleCore",
        L"Brimblestone.ConsoleCore.1",
        std::wstring(L"CLSID\\") + server::ConsoleCoreClassIdText,
        std::wstring(L"Interface\\") + server::ConsoleCoreInterfaceIdText,
        std::wstring(L"TypeLib\\") + server::LibraryIdText,
    };
    Lines lines;
    for (const std::wstring& path : classesKeys)
        AddKeyTree({HKEY_CLASSES_ROOT, L"HKCR", path}, lines);
    AddToolbarValue(lines);
    // The platform records the type library's flags in a form of its own.
    const std::wstring flagsValue = std::wstring(L"\\1.0\\FLAGS : ");
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const std::wstring& line) { return line.find(flagsValue) != std::wstring::npos; }),
                lines.end());
    return registry_test::Sorted(lines);
}

void RemoveRegistration(const ServerLibrary& library)
{
    library.RegisterServer();
    library.UnregisterServer();
}

RegisteredLibrary::RegisteredLibrary(const std::wstring& path)
    : library(path), registration(library.RegisterServer())
{
}

RegisteredLibrary::~RegisteredLibrary()
{
    RemoveRegistration(library);
}

}  // namespace e2e
