#pragma once

#include "module/BrimblestoneModule.h"

#include <windows.h>

#include <objidl.h>

// A small aggregatable class for exercising the class factory; it holds a module lock while it
// lives, as the band does.
class TestObject final : public IPersist {
public:
    static const CLSID ClassId;

    // The module the objects lock; set by the test before any object is created.
    static server::CBrimblestoneModule* module;
    static LONG liveObjects;

    // The instance creator the class table is given.
    static HRESULT Create(IUnknown* outer, REFIID interfaceId, void** object) noexcept;

    STDMETHODIMP QueryInterface(REFIID interfaceId, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetClassID(CLSID* classId) override;

private:
    // The object's own identity, which an outer object holds when it aggregates this one.
    class Inner final : public IUnknown {
    public:
        explicit Inner(TestObject& owner) : owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID interfaceId, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        TestObject& owner;
    };

    explicit TestObject(IUnknown* outer);
    ~TestObject();

    Inner inner;
    IUnknown* const controlling;
    LONG references = 0;
};

// An outer object that only counts its references and answers IUnknown.
class CountingOuter final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID interfaceId, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references); }

    LONG references = 1;
};
