#pragma once

#include <windows.h>

#include <utility>

namespace support {

// Owns one platform resource and releases it exactly once; movable, not copyable.
template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() noexcept : value(Traits::Empty()) {}
    explicit UniqueResource(Type owned) noexcept : value(owned) {}
    UniqueResource(UniqueResource&& other) noexcept : value(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { Reset(); }

    Type Get() const noexcept { return value; }
    bool IsHeld() const noexcept { return value != Traits::Empty(); }
    explicit operator bool() const noexcept { return IsHeld(); }

    // Hands the resource over to the caller, who then owns it.
    Type Release() noexcept { return std::exchange(value, Traits::Empty()); }

    void Reset(Type owned = Traits::Empty()) noexcept
    {
        const Type old = std::exchange(value, owned);
        if (old != Traits::Empty())
            Traits::Close(old);
    }

    // For APIs that return the resource through an out parameter: releases what is held first.
    Type* Receive() noexcept
    {
        Reset();
        return &value;
    }

private:
    Type value;
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};

// Handles whose empty value is INVALID_HANDLE_VALUE: files and tool-help snapshots.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { ::FindClose(handle); }
};

struct AcceleratorTraits {
    using Type = HACCEL;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type table) noexcept { ::DestroyAcceleratorTable(table); }
};

struct WindowTraits {
    using Type = HWND;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type window) noexcept { ::DestroyWindow(window); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
using UniqueAccelerator = UniqueResource<AcceleratorTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;

}  // namespace support
