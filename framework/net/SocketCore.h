#pragma once
// The root of the socket classes: the port and the socket layer's last error. Sockets are no controls; a
// window holds one by name through its own subclass that mixes in PaneChild, and does not close it.
//
// TCPSocket raises Connected, DataAvailable and Error, each with only its sender; SendComplete and
// SendProgress are never raised.

#include "framework/core/ClassRecord.h"
#include "framework/core/EventSource.h"
#include "framework/runtime/UIThread.h"

#include <cstdint>

namespace Ovelund {

class SocketCore : public Object, public EventSource {
    OVELUND_OBJECT
public:
    enum Event : int {
        EventConnected = 0,
        EventDataAvailable = 1,
        EventError = 2,
        EventSendComplete = 3,
        EventSendProgress = 4,
    };

    std::int32_t Port() const { return port_; }
    void SetPort(std::int32_t port) {
        CheckUIThread();
        port_ = port;
    }
    // The code of the socket layer's last error (SocketErrors.h), 0 when there was none.
    std::int32_t LastErrorCode() const { return lastErrorCode_; }

protected:
    void SetLastErrorCode(std::int32_t code) { lastErrorCode_ = code; }

private:
    std::int32_t port_ = 0;
    std::int32_t lastErrorCode_ = 0;
};

} // namespace Ovelund
