#include "BrimblestoneVersion.h"
#include "ServerLibrary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The library file's version resource as the platform's version API reads it from the file.
class VersionResource {
public:
    explicit VersionResource(const std::wstring& path)
    {
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
        data.resize(size);
        if (size == 0 || !::GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
            data.clear();
    }

    bool Exists() const { return !data.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const
    {
        return static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\"));
    }

    // A string of the resource's first translation, as Explorer's Details tab looks it up.
    std::wstring Text(const wchar_t* name) const
    {
        const auto* translation = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation"));
        if (translation == nullptr)
            return L"(no translation)";
        wchar_t path[80];
        std::swprintf(path, 80, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1], name);
        const auto* text = static_cast<const wchar_t*>(Query(path));
        return text == nullptr ? L"(missing)" : std::wstring(text);
    }

private:
    const void* Query(const wchar_t* path) const
    {
        void* value = nullptr;
        UINT length = 0;
        if (data.empty() || !::VerQueryValueW(data.data(), path, &value, &length) || length == 0)
            return nullptr;
        return value;
    }

    std::vector<BYTE> data;
};

// The numbers of the build's one version, as the fixed part of the resource holds them.
std::vector<WORD> BuildVersionNumbers()
{
    return {BRIMBLESTONE_VERSION_NUMBERS};
}

std::vector<WORD> Numbers(DWORD mostSignificant, DWORD leastSignificant)
{
    return {HIWORD(mostSignificant), LOWORD(mostSignificant), HIWORD(leastSignificant), LOWORD(leastSignificant)};
}

// The file and product version, in numbers and as text, are the build's one version number, and
// the texts that Explorer and the installed-programs list show are there.
TEST(VersionResource, CarriesTheBuildsVersionDescriptionAndCopyright)
{
    const VersionResource resource(e2e::LibraryPath());
    ASSERT_TRUE(resource.Exists()) << "no version resource in the library";
    const VS_FIXEDFILEINFO* fixed = resource.Fixed();
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(BuildVersionNumbers(), Numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
    EXPECT_EQ(BuildVersionNumbers(), Numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);

    EXPECT_EQ(BRIMBLESTONE_VERSION_WIDE, resource.Text(L"FileVersion"));
    EXPECT_EQ(BRIMBLESTONE_VERSION_WIDE, resource.Text(L"ProductVersion"));
    EXPECT_EQ(L"Brimblestone", resource.Text(L"ProductName"));
    EXPECT_EQ(L"Brimblestone.dll", resource.Text(L"OriginalFilename"));
    EXPECT_NE(std::wstring::npos, resource.Text(L"FileDescription").find(L"file browser"));
    EXPECT_EQ(0u, resource.Text(L"LegalCopyright").find(L"Copyright"));
}

}  // namespace
