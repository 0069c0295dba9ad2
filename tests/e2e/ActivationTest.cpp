#include "Registration.h"
#include "band/IConsoleCore.h"
#include "module/Guids.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace {

using Microsoft::WRL::ComPtr;

// An object that aggregates the band: its own identity, every other interface from the band.
class OuterObject final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID interfaceId, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(interfaceId, IID_IUnknown)) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        if (!inner) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return inner->QueryInterface(interfaceId, object);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }

    ULONG References() const { return references; }

    ComPtr<IUnknown> inner;

private:
    ULONG references = 1;
};

class Activation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.IsLoaded()); }

    ComPtr<IClassFactory> Factory() const
    {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(S_OK, library.GetClassObject(CLSID_ConsoleCore, IID_PPV_ARGS(&factory)));
        return factory;
    }

    e2e::ServerLibrary library{e2e::LibraryPath()};
};

TEST_F(Activation, TheRuntimeCreatesTheBandByProgIdOnlyWhileRegistered)
{
    e2e::RemoveRegistration(library);
    CLSID classId = {};
    EXPECT_TRUE(FAILED(::CLSIDFromProgID(L"Brimblestone.ConsoleCore", &classId)));
    ComPtr<IDeskBand> band;
    EXPECT_EQ(REGDB_E_CLASSNOTREG,
              ::CoCreateInstance(CLSID_ConsoleCore, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&band)));

    const e2e::RegisteredLibrary registered(e2e::LibraryPath());
    ASSERT_EQ(S_OK, registered.RegistrationResult());
    for (const wchar_t* progId : {L"Brimblestone.ConsoleCore", L"Brimblestone.ConsoleCore.1"}) {
        ASSERT_EQ(S_OK, ::CLSIDFromProgID(progId, &classId)) << progId;
        EXPECT_TRUE(IsEqualCLSID(CLSID_ConsoleCore, classId)) << progId;
    }
    ASSERT_EQ(S_OK, ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&band)));
    DESKBANDINFO info = {};
    info.dwMask = DBIM_MINSIZE;
    EXPECT_EQ(S_OK, band->GetBandInfo(0, DBIF_VIEWMODE_NORMAL, &info));
    EXPECT_EQ(300, info.ptMinSize.x);
    EXPECT_EQ(22, info.ptMinSize.y);
    EXPECT_EQ(S_FALSE, library.CanUnloadNow());
    band.Reset();
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}

TEST_F(Activation, FactoryReferencesServerLocksAndBandsKeepTheLibraryLoaded)
{
    EXPECT_EQ(S_OK, library.CanUnloadNow());
    ComPtr<IClassFactory> factory = Factory();
    ASSERT_TRUE(factory);
    EXPECT_EQ(S_FALSE, library.CanUnloadNow());
    factory.Reset();
    EXPECT_EQ(S_OK, library.CanUnloadNow());

    Factory()->LockServer(TRUE);
    EXPECT_EQ(S_FALSE, library.CanUnloadNow());
    Factory()->LockServer(FALSE);
    EXPECT_EQ(S_OK, library.CanUnloadNow());

    ComPtr<IUnknown> band;
    ASSERT_EQ(S_OK, Factory()->CreateInstance(nullptr, IID_PPV_ARGS(&band)));
    EXPECT_EQ(S_FALSE, library.CanUnloadNow());
    band.Reset();
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}

TEST_F(Activation, OnlyTheBandsClassIsServed)
{
    int marker = 0;
    void* object = &marker;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, library.GetClassObject(CLSID_StdGlobalInterfaceTable, IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
    object = &marker;
    EXPECT_EQ(E_NOINTERFACE, library.GetClassObject(CLSID_ConsoleCore, IID_IDeskBand, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, library.GetClassObject(CLSID_ConsoleCore, IID_IClassFactory, nullptr));
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}

TEST_F(Activation, AnAggregatedBandAnswersThroughItsOuterObject)
{
    OuterObject outer;
    void* object = &outer;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, Factory()->CreateInstance(&outer, IID_IDeskBand, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(S_OK, library.CanUnloadNow());

    ASSERT_EQ(S_OK, Factory()->CreateInstance(&outer, IID_PPV_ARGS(&outer.inner)));
    EXPECT_EQ(1u, outer.References());
    {
        ComPtr<IDeskBand> band;
        ASSERT_EQ(S_OK, outer.QueryInterface(IID_PPV_ARGS(&band)));
        EXPECT_EQ(2u, outer.References());
        ComPtr<IUnknown> identity;
        ASSERT_EQ(S_OK, band->QueryInterface(IID_PPV_ARGS(&identity)));
        EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.Get());
        ComPtr<IPersist> persist;
        ASSERT_EQ(S_OK, band.As(&persist));
        CLSID classId = {};
        EXPECT_EQ(S_OK, persist->GetClassID(&classId));
        EXPECT_TRUE(IsEqualCLSID(CLSID_ConsoleCore, classId));
    }
    EXPECT_EQ(1u, outer.References());
    EXPECT_EQ(S_FALSE, library.CanUnloadNow());
    outer.inner.Reset();
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}

// A copy of the library of its own has nothing cached yet.
class TypeInformation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(copy.IsLoaded());
        e2e::RemoveRegistration(copy);
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, copy.GetClassObject(CLSID_ConsoleCore, IID_PPV_ARGS(&factory)));
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&band)));
    }
    void TearDown() override
    {
        band.Reset();
        e2e::RemoveRegistration(copy);
    }

    e2e::ScratchLibrary scratch{L"BrimblestoneTypeInfo.dll", false};
    const e2e::ServerLibrary& copy = scratch.Library();
    ComPtr<IDispatch> band;
};

TEST_F(TypeInformation, ComesFromTheRegisteredTypeLibraryAndIsKept)
{
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(TYPE_E_LIBNOTREGISTERED, band->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    EXPECT_FALSE(info);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Invoke");
    EXPECT_EQ(TYPE_E_LIBNOTREGISTERED, band->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));

    ASSERT_EQ(S_OK, copy.RegisterServer());
    ASSERT_EQ(S_OK, band->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualIID(IID_IConsoleCore, attributes->guid));
    EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
    info->ReleaseTypeAttr(attributes);
    BSTR interfaceName = nullptr;
    ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, &interfaceName, nullptr, nullptr, nullptr));
    EXPECT_STREQ(L"IConsoleCore", interfaceName);
    ::SysFreeString(interfaceName);

    ComPtr<ITypeInfo> again;
    ASSERT_EQ(S_OK, band->GetTypeInfo(0, LOCALE_USER_DEFAULT, &again));
    EXPECT_EQ(info.Get(), again.Get());
}

// The band's own cache knows names in their exact case; any other case is the description's
// own case-blind lookup, so both give the same answers as the description itself.
TEST_F(TypeInformation, NamesAreAnsweredInAnyCaseAsTheDescriptionAnswers)
{
    ASSERT_EQ(S_OK, copy.RegisterServer());
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, band->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    for (const wchar_t* text : {L"Invoke", L"invoke", L"GETTYPEINFO", L"GetIDsOfNames"}) {
        LPOLESTR name = const_cast<LPOLESTR>(text);
        DISPID expected = DISPID_UNKNOWN;
        ASSERT_EQ(S_OK, info->GetIDsOfNames(&name, 1, &expected)) << text;
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(S_OK, band->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) << text;
        EXPECT_EQ(expected, id) << text;
    }
    LPOLESTR unknown = const_cast<LPOLESTR>(L"NoSuchMember");
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, band->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, &id));
}

}  // namespace
