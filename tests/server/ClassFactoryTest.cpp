#include "TestObject.h"
#include "server/ClassTable.h"
#include "module/Guids.h"
#include "support/UniqueHandle.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <thread>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;

const server::ClassEntry testClasses[] = {{&TestObject::ClassId, 102, &TestObject::Create}};

// A module and a class table of their own for each test, as the library has at start.
class ClassFactory : public ::testing::Test {
protected:
    ClassFactory() : module(::GetModuleHandleW(nullptr), LIBID_BrimblestoneLib), table(module, testClasses)
    {
        TestObject::module = &module;
        TestObject::liveObjects = 0;
    }

    ComPtr<IClassFactory> Factory()
    {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(S_OK, table.GetClassObject(TestObject::ClassId, IID_PPV_ARGS(&factory)));
        return factory;
    }

    server::CBrimblestoneModule module;
    server::CClassTable table;
};

TEST_F(ClassFactory, OnlyTheServedClassAndTheFactoryInterfacesAreHandedOut)
{
    ASSERT_TRUE(table.IsInitialised());
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, table.GetClassObject(CLSID_ConsoleCore, IID_IUnknown, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, table.GetClassObject(TestObject::ClassId, IID_IUnknown, nullptr));
    object = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, table.GetClassObject(TestObject::ClassId, IID_IPersist, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(ClassFactory, OutsideReferencesHoldOneModuleLockAndTheTableOwnsTheFirst)
{
    ComPtr<IClassFactory> first = Factory();
    EXPECT_EQ(1, module.GetModuleLockCount());
    ComPtr<IUnknown> second;
    ASSERT_EQ(S_OK, table.GetClassObject(TestObject::ClassId, IID_PPV_ARGS(&second)));
    EXPECT_EQ(1, module.GetModuleLockCount());
    ComPtr<IUnknown> firstIdentity;
    ASSERT_EQ(S_OK, first.As(&firstIdentity));
    EXPECT_EQ(firstIdentity.Get(), second.Get());

    first.Reset();
    firstIdentity.Reset();
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    second.Reset();
    EXPECT_EQ(S_OK, module.CanUnloadNow());

    ComPtr<IClassFactory> again = Factory();
    ComPtr<IUnknown> againIdentity;
    ASSERT_EQ(S_OK, again.As(&againIdentity));
    EXPECT_NE(nullptr, againIdentity.Get());
}

TEST_F(ClassFactory, ConcurrentFirstRequestsShareOneFactory)
{
    const support::UniqueHandle startEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(startEvent);
    const HANDLE start = startEvent.Get();
    std::vector<IUnknown*> factories(8, nullptr);
    std::vector<std::thread> threads;
    for (IUnknown*& factory : factories) {
        threads.emplace_back([this, start, &factory] {
            ::WaitForSingleObject(start, INFINITE);
            table.GetClassObject(TestObject::ClassId, IID_IUnknown, reinterpret_cast<void**>(&factory));
        });
    }
    ::SetEvent(start);
    for (std::thread& thread : threads)
        thread.join();
    for (IUnknown* factory : factories) {
        EXPECT_EQ(factories[0], factory);
        if (factory)
            factory->Release();
    }
    EXPECT_NE(nullptr, factories[0]);
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(ClassFactory, LockServerCountsLikeAModuleLock)
{
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_EQ(1, module.GetModuleLockCount());
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Reset();
    EXPECT_EQ(S_OK, Factory()->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    EXPECT_EQ(S_OK, Factory()->LockServer(FALSE));
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(ClassFactory, PlainObjectsAnswerTheirInterfacesAndHoldAModuleLock)
{
    ComPtr<IClassFactory> factory = Factory();
    ComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&persist)));
    factory.Reset();
    EXPECT_EQ(1, TestObject::liveObjects);
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    CLSID classId = {};
    EXPECT_EQ(S_OK, persist->GetClassID(&classId));
    EXPECT_TRUE(IsEqualCLSID(TestObject::ClassId, classId));
    persist.Reset();
    EXPECT_EQ(0, TestObject::liveObjects);
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(ClassFactory, AnObjectWithoutTheRequestedInterfaceIsDestroyedAgain)
{
    ComPtr<IClassFactory> factory = Factory();
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IStream, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IPersist, nullptr));
    EXPECT_EQ(0, TestObject::liveObjects);
    factory.Reset();
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

TEST_F(ClassFactory, AggregationIsOnlyForTheInnerIdentity)
{
    ComPtr<IClassFactory> factory = Factory();
    CountingOuter outer;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IPersist, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(0, TestObject::liveObjects);

    ComPtr<IUnknown> inner;
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_PPV_ARGS(&inner)));
    EXPECT_EQ(1, TestObject::liveObjects);
    ComPtr<IPersist> persist;
    ASSERT_EQ(S_OK, inner.As(&persist));
    EXPECT_EQ(2, outer.references);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(S_OK, persist.As(&identity));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.Get());
    identity.Reset();
    persist.Reset();
    EXPECT_EQ(1, outer.references);

    inner.Reset();
    EXPECT_EQ(0, TestObject::liveObjects);
    factory.Reset();
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

}  // namespace
