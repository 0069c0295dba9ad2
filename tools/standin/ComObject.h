#pragma once

#include <windows.h>
#include <unknwn.h>

namespace standin {

// Reference counting shared by the stand-in's COM objects. Everything lives on one
// single-threaded apartment, so a plain counter suffices. Each object answers its own
// QueryInterface; objects are created with one reference held by the creator.
template <typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }

    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG remaining = --references;
        if (remaining == 0)
            delete this;
        return remaining;
    }

protected:
    virtual ~ComObject() = default;

    // Hands out one of the object's interfaces with a reference of its own.
    template <typename Interface>
    HRESULT Answer(Interface* part, void** object)
    {
        *object = part;
        part->AddRef();
        return S_OK;
    }

private:
    ULONG references = 1;
};

}  // namespace standin
