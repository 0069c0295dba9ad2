#pragma once

namespace server {

// The library is meant for the shell's file-browser windows only; the web browser's own process
// must not load it. `hostPath` is the host executable's path, in any letter case.
bool IsRefusedHost(const wchar_t* hostPath);

// The same test for the process the library is loaded into.
bool IsRefusedHostProcess();

}  // namespace server
