#pragma once

#include "support/CriticalSection.h"

#include <windows.h>

#include <forward_list>
#include <utility>

namespace server {

// The library's module object: counts the locks that keep the library loaded and runs the
// termination callbacks when the library ends.
class CBrimblestoneModule {
public:
    using TerminationCallback = void (*)(DWORD_PTR argument);

    CBrimblestoneModule(HINSTANCE instance, const GUID& libraryId) noexcept;
    ~CBrimblestoneModule();
    CBrimblestoneModule(const CBrimblestoneModule&) = delete;
    CBrimblestoneModule& operator=(const CBrimblestoneModule&) = delete;

    // False when the module's critical section could not be created; the library must not load.
    bool IsInitialised() const noexcept { return section.IsInitialised(); }

    // Interlocked; each returns the new count.
    LONG LockModule() noexcept;
    LONG UnlockModule() noexcept;
    LONG GetModuleLockCount() const noexcept;

    // S_OK when no lock is held, else S_FALSE.
    HRESULT CanUnloadNow() const noexcept;

    // The callback runs once at library end; callbacks added later run earlier.
    HRESULT AddTerminationCallback(TerminationCallback callback, DWORD_PTR argument) noexcept;

    HINSTANCE Instance() const noexcept { return instance; }
    const GUID& LibraryId() const noexcept { return libraryId; }

    // Guards the termination list and lazily loaded module-wide state.
    support::CriticalSection& Section() noexcept { return section; }

private:
    const HINSTANCE instance;
    const GUID libraryId;
    volatile LONG lockCount;
    std::forward_list<std::pair<TerminationCallback, DWORD_PTR>> terminationCallbacks;
    support::CriticalSection section;
};

// The one module object of the library, alive from static construction to static destruction.
extern CBrimblestoneModule* const libraryModule;

// One lock on the library for as long as the holder lives.
class ModuleLock {
public:
    ModuleLock() noexcept { libraryModule->LockModule(); }
    ~ModuleLock() { libraryModule->UnlockModule(); }
    ModuleLock(const ModuleLock&) = delete;
    ModuleLock& operator=(const ModuleLock&) = delete;
};

}  // namespace server
