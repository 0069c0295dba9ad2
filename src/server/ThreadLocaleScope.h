#pragma once

#include <windows.h>

namespace server {

// Switches the calling thread to the system's default locale for one scope, so that the
// registration scripts are read in the system's ANSI code page, and restores the thread's own
// locale on every way out.
class ThreadLocaleScope {
public:
    ThreadLocaleScope() noexcept : saved(::GetThreadLocale()) { ::SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~ThreadLocaleScope() { ::SetThreadLocale(saved); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

private:
    const LCID saved;
};

}  // namespace server
