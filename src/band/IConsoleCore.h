#pragma once

#include <oaidl.h>

#include "server/Guids.h"

// The band's dual dispatch interface: no members of its own, the browser's events arrive
// through its Invoke.
struct IConsoleCore : public IDispatch {
};
