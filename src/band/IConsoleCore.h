#pragma once

#include <oaidl.h>

#include "module/Guids.h"

// The band's dual dispatch interface: no members of its own, the browser's events arrive
// through its Invoke.
struct IConsoleCore : public IDispatch {
};
