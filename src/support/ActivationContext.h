#pragma once

#include <windows.h>

namespace support {

// The activation context a module's own manifest (resource type 24, id 2) describes; without
// such a manifest there is none, and activating it changes nothing.
class ModuleActivationContext {
public:
    explicit ModuleActivationContext(HINSTANCE module) noexcept;
    ~ModuleActivationContext();
    ModuleActivationContext(const ModuleActivationContext&) = delete;
    ModuleActivationContext& operator=(const ModuleActivationContext&) = delete;

    HANDLE Get() const noexcept { return context; }

private:
    HANDLE context;
};

// Keeps a context active for one scope, so window classes registered and windows created in it
// bind to the versions of the common controls the manifest names.
class ActivationScope {
public:
    explicit ActivationScope(const ModuleActivationContext& activated) noexcept;
    ~ActivationScope();
    ActivationScope(const ActivationScope&) = delete;
    ActivationScope& operator=(const ActivationScope&) = delete;

private:
    ULONG_PTR cookie = 0;
    bool active = false;
};

}  // namespace support
