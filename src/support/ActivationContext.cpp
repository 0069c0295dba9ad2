#include "support/ActivationContext.h"

namespace support {

ModuleActivationContext::ModuleActivationContext(HINSTANCE module) noexcept
{
    ACTCTXW description = {};
    description.cbSize = sizeof(description);
    description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.hModule = module;
    description.lpResourceName = MAKEINTRESOURCEW(2);
    context = ::CreateActCtxW(&description);
}

ModuleActivationContext::~ModuleActivationContext()
{
    if (context != INVALID_HANDLE_VALUE)
        ::ReleaseActCtx(context);
}

ActivationScope::ActivationScope(const ModuleActivationContext& activated) noexcept
{
    if (activated.Get() != INVALID_HANDLE_VALUE)
        active = ::ActivateActCtx(activated.Get(), &cookie) != FALSE;
}

ActivationScope::~ActivationScope()
{
    if (active)
        ::DeactivateActCtx(0, cookie);
}

}  // namespace support
