#pragma once

#include <windows.h>

#include <vector>

namespace console {

// A process attribute list naming exactly the handles that a child may inherit, so that a child
// started at the same moment as another never holds that one's handles.
class InheritedHandleList {
public:
    explicit InheritedHandleList(std::vector<HANDLE> inherited);
    InheritedHandleList(const InheritedHandleList&) = delete;
    InheritedHandleList& operator=(const InheritedHandleList&) = delete;
    ~InheritedHandleList() { Release(); }

    // Null when the list could not be made.
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const noexcept { return list; }

private:
    void Release() noexcept;

    std::vector<HANDLE> handles;
    std::vector<unsigned char> storage;
    LPPROC_THREAD_ATTRIBUTE_LIST list = nullptr;
};

}  // namespace console
