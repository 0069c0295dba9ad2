#include "console/InheritedHandleList.h"

#include <utility>

namespace console {

InheritedHandleList::InheritedHandleList(std::vector<HANDLE> inherited) : handles(std::move(inherited))
{
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage.resize(size);
    auto* candidate = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (handles.empty() || !::InitializeProcThreadAttributeList(candidate, 1, 0, &size))
        return;
    list = candidate;
    if (!::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles.data(),
                                     handles.size() * sizeof(HANDLE), nullptr, nullptr))
        Release();
}

void InheritedHandleList::Release() noexcept
{
    if (list)
        ::DeleteProcThreadAttributeList(list);
    list = nullptr;
}

}  // namespace console
