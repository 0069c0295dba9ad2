#pragma once

#include "companion/EventSink.h"

#include <windows.h>
#include <exdisp.h>
#include <wrl/client.h>

#include <functional>
#include <optional>
#include <vector>

namespace companion {

// The shell's list of its browser windows (CLSID_ShellWindows), in Explorer's process: every
// folder window, every tab of one, is an entry with its IWebBrowser2. The list says only that an
// entry came or went (by a cookie), so each of its events means "read the list again"; it is
// never read inside the event itself. When Explorer ends, the list goes with it: the connection
// is then lost until a new list can be reached.
class ShellWindowList {
public:
    // `changed` is told (during any call, also this thread's own outgoing ones) that the list
    // changed; it must not call out.
    explicit ShellWindowList(std::function<void()> changed);
    ~ShellWindowList();
    ShellWindowList(const ShellWindowList&) = delete;
    ShellWindowList& operator=(const ShellWindowList&) = delete;

    // Reaches the list and listens to it; false when there is none now (Explorer not running).
    bool Connect();
    void Disconnect() noexcept;
    bool IsConnected() const noexcept { return list != nullptr; }
    // Counts the connections made: browsers found in an earlier one are not in this list.
    unsigned Generation() const noexcept { return generation; }

    // Every browser entry of the list now; nothing when the list could not be read, and when its
    // process is gone the connection is dropped.
    std::optional<std::vector<Microsoft::WRL::ComPtr<IWebBrowser2>>> Browsers();
    // How many entries the list holds; nothing when it does not answer, and a list whose process
    // is gone is dropped.
    std::optional<long> EntryCount();

private:
    std::function<void()> changed;
    Microsoft::WRL::ComPtr<IShellWindows> list;
    Microsoft::WRL::ComPtr<EventSink> sink;
    EventConnection events;
    unsigned generation = 0;
};

}  // namespace companion
