#pragma once

#include <windows.h>

namespace support {

// A critical section whose creation may fail on old systems; the owner asks IsInitialised()
// before relying on it.
class CriticalSection {
public:
    CriticalSection() noexcept;
    ~CriticalSection();
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    bool IsInitialised() const noexcept { return initialised; }
    void Enter() noexcept { ::EnterCriticalSection(&section); }
    void Leave() noexcept { ::LeaveCriticalSection(&section); }

private:
    CRITICAL_SECTION section;
    bool initialised;
};

// Holds a critical section for one scope.
class CriticalSectionGuard {
public:
    explicit CriticalSectionGuard(CriticalSection& held) noexcept : section(held) { section.Enter(); }
    ~CriticalSectionGuard() { section.Leave(); }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

private:
    CriticalSection& section;
};

}  // namespace support
