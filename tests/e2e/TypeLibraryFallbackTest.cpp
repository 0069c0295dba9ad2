#include "Registration.h"
#include "module/Guids.h"

#include <gtest/gtest.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <memory>

namespace {

using Microsoft::WRL::ComPtr;

constexpr const wchar_t* CopyName = L"BrimblestoneNoTypeLib";

std::wstring CopyPath(const wchar_t* extension)
{
    return e2e::ScratchFolder() + L"\\" + CopyName + extension;
}

// A copy of the library that carries no type library, for the file beside it to stand in.
class TypeLibraryFallback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::DeleteFileW(CopyPath(L".tlb").c_str());
        scratch = std::make_unique<e2e::ScratchLibrary>((std::wstring(CopyName) + L".dll").c_str(), true);
        ASSERT_EQ(CopyPath(L".dll"), scratch->Path());
        ComPtr<ITypeLib> embedded;
        ASSERT_TRUE(FAILED(::LoadTypeLib(CopyPath(L".dll").c_str(), &embedded)));
        copy = &scratch->Library();
        ASSERT_TRUE(copy->IsLoaded());
    }
    void TearDown() override
    {
        if (copy) {
            PlaceTypeLibraryFile();
            e2e::RemoveRegistration(*copy);
        }
        scratch.reset();
        ::DeleteFileW(CopyPath(L".tlb").c_str());
    }

    static bool PlaceTypeLibraryFile()
    {
        return ::CopyFileW((e2e::BuildFolder() + L"\\Brimblestone.tlb").c_str(), CopyPath(L".tlb").c_str(), FALSE);
    }

    std::unique_ptr<e2e::ScratchLibrary> scratch;
    const e2e::ServerLibrary* copy = nullptr;
};

TEST_F(TypeLibraryFallback, RegistersTheTypeLibraryFileBesideTheLibrary)
{
    ASSERT_TRUE(PlaceTypeLibraryFile());
    ASSERT_EQ(S_OK, copy->RegisterServer());
    const e2e::Lines footprint = e2e::RegistrationFootprint();
    const e2e::Lines expected = e2e::ExpectedFootprint(copy->ModulePath(), CopyPath(L".tlb"));
    EXPECT_EQ(expected, footprint);
    if (expected != footprint)
        e2e::PrintLines(footprint);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, copy->GetClassObject(CLSID_ConsoleCore, IID_PPV_ARGS(&factory)));
    ComPtr<IDispatch> band;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&band)));
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(S_OK, band->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    band.Reset();

    EXPECT_EQ(S_OK, copy->UnregisterServer());
    EXPECT_TRUE(e2e::RegistrationFootprint().empty());
}

// Registration stops at the type library; the steps before it stay done.
TEST_F(TypeLibraryFallback, WithoutTheFileRegistrationFailsAtTheTypeLibrary)
{
    ComPtr<ITypeLib> absent;
    const HRESULT platformFailure = ::LoadTypeLib(CopyPath(L".tlb").c_str(), &absent);
    ASSERT_TRUE(FAILED(platformFailure));
    EXPECT_EQ(platformFailure, copy->RegisterServer());
    HKEY key = nullptr;
    const std::wstring classKey = std::wstring(L"CLSID\\") + server::ConsoleCoreClassIdText;
    EXPECT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CLASSES_ROOT, classKey.c_str(), 0, KEY_READ, &key));
    ::RegCloseKey(key);
    EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"TypeLib\\") + server::LibraryIdText).c_str(),
                                             0, KEY_READ, &key));
}

}  // namespace
