#include "companion/RemoteConnection.h"

namespace companion {

bool MeansProcessGone(HRESULT result) noexcept
{
    // The server's end, as the component runtime reports it: the process is gone (RPC_S_SERVER_UNAVAILABLE),
    // it died during the call (RPC_S_CALL_FAILED, RPC_S_CALL_FAILED_DNE), or its objects were disconnected.
    constexpr HRESULT ServerUnavailable = static_cast<HRESULT>(0x800706BAL);
    constexpr HRESULT CallFailed = static_cast<HRESULT>(0x800706BEL);
    constexpr HRESULT CallFailedNotExecuted = static_cast<HRESULT>(0x800706BFL);
    return result == RPC_E_DISCONNECTED || result == CO_E_OBJNOTCONNECTED || result == RPC_E_SERVER_DIED ||
           result == RPC_E_SERVER_DIED_DNE || result == ServerUnavailable || result == CallFailed ||
           result == CallFailedNotExecuted;
}

HRESULT RemoteConnection::Check(HRESULT result)
{
    if (isLost || !MeansProcessGone(result))
        return result;
    isLost = true;
    if (lost)
        lost();
    return result;
}

}  // namespace companion
