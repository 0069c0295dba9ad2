#pragma once

#include <windows.h>

#include <functional>

namespace companion {

// Whether a call's result says that the process on the other side is gone (ended, crashed, or
// its connection cut), as opposed to a refusal that the object itself gave.
bool MeansProcessGone(HRESULT result) noexcept;

// The connection to one object in another process, shared by everything that calls it: each
// call's result passes Check, and the first result that says the process is gone marks the
// connection lost and tells its owner once. The owner is only told; it acts later, outside the
// call that failed.
class RemoteConnection {
public:
    explicit RemoteConnection(std::function<void()> lost) : lost(std::move(lost)) {}
    RemoteConnection(const RemoteConnection&) = delete;
    RemoteConnection& operator=(const RemoteConnection&) = delete;

    // Returns the result as it came.
    HRESULT Check(HRESULT result);
    bool IsLost() const noexcept { return isLost; }
    // The owner has gone: a later failure tells nobody.
    void Forget() noexcept { lost = nullptr; }

private:
    std::function<void()> lost;
    bool isLost = false;
};

}  // namespace companion
