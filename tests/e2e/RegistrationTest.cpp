#include "Registration.h"
#include "RegistryTestSupport.h"
#include "module/Guids.h"

#include <gtest/gtest.h>

namespace {

using e2e::Lines;

const std::wstring Clsid = std::wstring(L"CLSID\\") + server::ConsoleCoreClassIdText;
const std::wstring AppId = std::wstring(L"AppID\\") + server::AppIdText;

class ServerRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library.IsLoaded());
        e2e::RemoveRegistration(library);
        ASSERT_TRUE(e2e::RegistrationFootprint().empty());
    }
    void TearDown() override { e2e::RemoveRegistration(library); }

    e2e::ServerLibrary library{e2e::LibraryPath()};
};

TEST_F(ServerRegistration, WritesExactlyTheFootprintAndTwiceEqualsOnce)
{
    ASSERT_EQ(S_OK, library.RegisterServer());
    const Lines once = e2e::RegistrationFootprint();
    ASSERT_EQ(0, ::lstrcmpiW(e2e::LibraryPath().c_str(), library.ModulePath().c_str()));
    const Lines expected = e2e::ExpectedFootprint(library.ModulePath(), library.ModulePath());
    EXPECT_EQ(expected, once);
    if (expected != once)
        e2e::PrintLines(once);

    ASSERT_EQ(S_OK, library.RegisterServer());
    EXPECT_EQ(once, e2e::RegistrationFootprint());
}

TEST_F(ServerRegistration, UnregisteringRemovesEverythingButTheSharedKeys)
{
    ASSERT_EQ(S_OK, library.RegisterServer());
    ASSERT_EQ(S_OK, library.UnregisterServer());
    const Lines left = e2e::RegistrationFootprint();
    EXPECT_TRUE(left.empty());
    e2e::PrintLines(left);
    EXPECT_TRUE(registry_test::KeyExists(HKEY_CLASSES_ROOT, L"AppID"));
    EXPECT_TRUE(registry_test::KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
    EXPECT_TRUE(registry_test::KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer\\Toolbar"));
}

#ifdef _WIN64
constexpr SYSKIND PlatformKind = SYS_WIN64;
#else
constexpr SYSKIND PlatformKind = SYS_WIN32;
#endif

// What the platform answers for removing a type library that is not registered.
HRESULT UnregisterAbsentTypeLibrary()
{
    return ::UnRegisterTypeLib(LIBID_BrimblestoneLib, 1, 0, LOCALE_NEUTRAL, PlatformKind);
}

// The class keys already gone are no error, but the platform reports the type library as
// unknown; the application identity is then left alone.
TEST_F(ServerRegistration, AnUnregisteredTypeLibraryFailsUnregistrationAndKeepsTheAppId)
{
    ASSERT_EQ(S_OK, library.RegisterServer());
    ASSERT_EQ(S_OK, ::UnRegisterTypeLib(LIBID_BrimblestoneLib, 1, 0, LOCALE_NEUTRAL, PlatformKind));
    const HRESULT platformFailure = UnregisterAbsentTypeLibrary();
    ASSERT_TRUE(FAILED(platformFailure));

    EXPECT_EQ(platformFailure, library.UnregisterServer());
    EXPECT_FALSE(registry_test::KeyExists(HKEY_CLASSES_ROOT, Clsid.c_str()));
    EXPECT_TRUE(registry_test::KeyExists(HKEY_CLASSES_ROOT, AppId.c_str()));
    EXPECT_TRUE(registry_test::KeyExists(HKEY_CLASSES_ROOT, L"AppID\\Brimblestone.DLL"));

    EXPECT_EQ(platformFailure, library.UnregisterServer());
    EXPECT_TRUE(registry_test::KeyExists(HKEY_CLASSES_ROOT, AppId.c_str()));
}

TEST_F(ServerRegistration, UnregisteringTwiceReportsThePlatformsFailureTheSecondTime)
{
    ASSERT_EQ(S_OK, library.RegisterServer());
    ASSERT_EQ(S_OK, library.UnregisterServer());
    EXPECT_EQ(UnregisterAbsentTypeLibrary(), library.UnregisterServer());
    EXPECT_TRUE(e2e::RegistrationFootprint().empty());
}

}  // namespace
