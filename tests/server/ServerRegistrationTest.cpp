#include "RegistryTestSupport.h"
#include "TestObject.h"
#include "server/ClassTable.h"
#include "module/Guids.h"
#include "server/ScriptResources.h"
#include "server/ServerRegistration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using registry_test::KeyExists;

const server::ClassEntry servedClasses[] = {
    {&CLSID_ConsoleCore, server::ConsoleCoreScriptResource, &TestObject::Create}};

// Stands in for the type library step: records the thread locale it ran under.
struct TypeLibraryStep {
    static std::vector<LCID> calls;
    static HRESULT result;
    static HRESULT Run(server::CBrimblestoneModule&)
    {
        calls.push_back(::GetThreadLocale());
        return result;
    }
};
std::vector<LCID> TypeLibraryStep::calls;
HRESULT TypeLibraryStep::result = S_OK;

const LCID CallerLocale = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

// The classes root and the machine key point into the scratch key for each test; the thread
// runs under a locale of its own that registration must give back.
class ServerRegistration : public ::testing::Test {
protected:
    ServerRegistration()
        : machineOverride(HKEY_LOCAL_MACHINE, roots.machine), classes(*server::libraryModule, servedClasses),
          savedLocale(::GetThreadLocale())
    {
        TypeLibraryStep::calls.clear();
        TypeLibraryStep::result = S_OK;
        ::SetThreadLocale(CallerLocale);
    }
    ~ServerRegistration() override { ::SetThreadLocale(savedLocale); }

    HRESULT Register() { return server::RegisterServer(*server::libraryModule, classes, &TypeLibraryStep::Run); }
    HRESULT Unregister() { return server::UnregisterServer(*server::libraryModule, classes, &TypeLibraryStep::Run); }

    bool AppIdRegistered() const
    {
        return KeyExists(roots.classesRoot, (std::wstring(L"AppID\\") + server::AppIdText).c_str());
    }
    bool ClassRegistered() const
    {
        return KeyExists(roots.classesRoot, (std::wstring(L"CLSID\\") + server::ConsoleCoreClassIdText).c_str());
    }
    bool ToolbarEntryRegistered() const
    {
        return ::RegGetValueW(roots.machine, L"SoftWare\\Microsoft\\Internet Explorer\\Toolbar",
                              server::ConsoleCoreClassIdText, RRF_RT_ANY, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS;
    }

    registry_test::ScratchRoots roots;
    registry_test::PredefinedKeyOverride machineOverride;
    server::CClassTable classes;
    const LCID savedLocale;
};

TEST_F(ServerRegistration, RegistersAndUnregistersEverythingUnderTheSystemLocale)
{
    const registry_test::PredefinedKeyOverride classesOverride(HKEY_CLASSES_ROOT, roots.classesRoot);
    ASSERT_EQ(S_OK, Register());
    EXPECT_TRUE(AppIdRegistered());
    EXPECT_TRUE(ClassRegistered());
    EXPECT_TRUE(ToolbarEntryRegistered());
    EXPECT_EQ(CallerLocale, ::GetThreadLocale());

    ASSERT_EQ(S_OK, Unregister());
    EXPECT_FALSE(AppIdRegistered());
    EXPECT_FALSE(ClassRegistered());
    EXPECT_FALSE(ToolbarEntryRegistered());
    EXPECT_EQ(CallerLocale, ::GetThreadLocale());

    EXPECT_EQ(S_OK, Unregister());
    EXPECT_EQ((std::vector<LCID>(3, ::GetSystemDefaultLCID())), TypeLibraryStep::calls);
}

TEST_F(ServerRegistration, AFailingAppIdScriptStopsBeforeTheClassesAndTheTypeLibrary)
{
    // A classes root that was deleted while open refuses every new key.
    HKEY deleted = registry_test::CreateOpenKey(roots.scratch.Get(), L"Deleted");
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteKeyW(roots.scratch.Get(), L"Deleted"));
    {
        const registry_test::PredefinedKeyOverride classesOverride(HKEY_CLASSES_ROOT, deleted);
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_KEY_DELETED), Register());
    }
    ::RegCloseKey(deleted);
    EXPECT_FALSE(ToolbarEntryRegistered());
    EXPECT_TRUE(TypeLibraryStep::calls.empty());
    EXPECT_EQ(CallerLocale, ::GetThreadLocale());
}

TEST_F(ServerRegistration, AFailingTypeLibraryStepIsReturnedAndKeepsTheAppIdOnUnregistration)
{
    const registry_test::PredefinedKeyOverride classesOverride(HKEY_CLASSES_ROOT, roots.classesRoot);
    TypeLibraryStep::result = TYPE_E_REGISTRYACCESS;
    EXPECT_EQ(TYPE_E_REGISTRYACCESS, Register());
    EXPECT_TRUE(AppIdRegistered());
    EXPECT_TRUE(ClassRegistered());

    EXPECT_EQ(TYPE_E_REGISTRYACCESS, Unregister());
    EXPECT_FALSE(ClassRegistered());
    EXPECT_FALSE(ToolbarEntryRegistered());
    EXPECT_TRUE(AppIdRegistered());
    EXPECT_EQ(CallerLocale, ::GetThreadLocale());

    TypeLibraryStep::result = S_FALSE;
    EXPECT_EQ(S_OK, Unregister());
    EXPECT_FALSE(AppIdRegistered());
}

}  // namespace
