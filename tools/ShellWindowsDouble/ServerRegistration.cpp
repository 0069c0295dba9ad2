#include "ServerRegistration.h"

#include "support/UniqueRegistryKey.h"

#include <exdisp.h>
#include <objbase.h>

namespace shellwindows {
namespace {

constexpr const wchar_t* ClassesKey = L"Software\\Classes\\CLSID";
// The name of every class of the double, which tells its classes from others.
constexpr const wchar_t* ServerName = L"Shell window list (test double)";
// Each registry view of a 64-bit system has its own classes; a 32-bit one ignores the flags.
constexpr REGSAM Views[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring TreatAsKey()
{
    return GuidText(CLSID_ShellWindows) + L"\\TreatAs";
}

support::UniqueRegistryKey OpenClasses(REGSAM view)
{
    support::UniqueRegistryKey classes;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, ClassesKey, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                          classes.Receive(), nullptr) != ERROR_SUCCESS)
        classes.Release();
    return classes;
}

support::UniqueRegistryKey CreateVolatileKey(HKEY parent, const std::wstring& name, REGSAM view)
{
    support::UniqueRegistryKey key;
    if (::RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS | view, nullptr,
                          key.Receive(), nullptr) != ERROR_SUCCESS)
        key.Release();
    return key;
}

bool SetDefaultValue(HKEY key, const std::wstring& text)
{
    return ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::wstring DefaultValue(HKEY parent, const std::wstring& name, REGSAM view)
{
    support::UniqueRegistryKey key;
    wchar_t text[MAX_PATH] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (::RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | view, key.Receive()) != ERROR_SUCCESS ||
        ::RegQueryValueExW(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS)
        return {};
    return text;
}

// The double's class that TreatAs names in this view, as text; empty when it names none.
std::wstring ClassNamedByTreatAs(HKEY classes, REGSAM view)
{
    const std::wstring named = DefaultValue(classes, TreatAsKey(), view);
    return !named.empty() && DefaultValue(classes, named, view) == ServerName ? named : L"";
}

bool RemoveInView(HKEY classes, REGSAM view)
{
    const std::wstring named = ClassNamedByTreatAs(classes, view);
    if (named.empty())
        return true;
    const LSTATUS treatAs = ::RegDeleteKeyExW(classes, TreatAsKey().c_str(), view, 0);
    const LSTATUS server = ::RegDeleteTreeW(classes, named.c_str());
    return treatAs == ERROR_SUCCESS && (server == ERROR_SUCCESS || server == ERROR_FILE_NOT_FOUND);
}

bool RegisterInView(const std::wstring& programPath, const std::wstring& serverClass, REGSAM view)
{
    const support::UniqueRegistryKey classes = OpenClasses(view);
    if (!classes || !RemoveInView(classes.Get(), view))
        return false;
    const support::UniqueRegistryKey server = CreateVolatileKey(classes.Get(), serverClass, view);
    const support::UniqueRegistryKey local = CreateVolatileKey(classes.Get(), serverClass + L"\\LocalServer32", view);
    const support::UniqueRegistryKey treatAs = CreateVolatileKey(classes.Get(), TreatAsKey(), view);
    return server && local && treatAs && SetDefaultValue(server.Get(), ServerName) &&
           SetDefaultValue(local.Get(), L"\"" + programPath + L"\"") && SetDefaultValue(treatAs.Get(), serverClass);
}

}  // namespace

bool RegisterServer(const std::wstring& programPath)
{
    GUID serverClass = {};
    if (FAILED(::CoCreateGuid(&serverClass)))
        return false;
    bool registered = true;
    for (const REGSAM view : Views)
        registered = RegisterInView(programPath, GuidText(serverClass), view) && registered;
    return registered;
}

bool UnregisterServer()
{
    bool unregistered = true;
    for (const REGSAM view : Views) {
        const support::UniqueRegistryKey classes = OpenClasses(view);
        unregistered = classes && RemoveInView(classes.Get(), view) && unregistered;
    }
    return unregistered;
}

std::optional<CLSID> RegisteredClass()
{
    const support::UniqueRegistryKey classes = OpenClasses(0);
    CLSID served = {};
    const std::wstring named = classes ? ClassNamedByTreatAs(classes.Get(), 0) : L"";
    if (named.empty() || FAILED(::CLSIDFromString(named.c_str(), &served)))
        return std::nullopt;
    return served;
}

}  // namespace shellwindows
