#pragma once

#include "session/HostFolderView.h"

#include <windows.h>
#include <servprov.h>

#include <memory>

namespace band {

// The folder view of the band's own browser: its active shell view through the shell's interfaces,
// or, in a browser that offers none, the list control inside its window (which may be missing too:
// then the view has no items).
std::unique_ptr<session::HostFolderView> ActiveFolderView(IServiceProvider* browserServices, HWND browserWindow);

}  // namespace band
