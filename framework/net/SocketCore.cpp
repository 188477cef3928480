#include "framework/net/SocketCore.h"

namespace Ovelund {

const ClassRecord& SocketCore::Lookup() {
    // The root of the socket classes does nothing on its own, so it has no factory.
    static const ClassRecord record = ClassBuilder<SocketCore>("SocketCore", &Object::Lookup())
                                          .Event<>(EventConnected, "Connected")
                                          .Event<>(EventDataAvailable, "DataAvailable")
                                          .Event<>(EventError, "Error")
                                          .NeverRaised(EventSendComplete, "SendComplete")
                                          .NeverRaised(EventSendProgress, "SendProgress")
                                          .Property("Port", &SocketCore::SetPort, &SocketCore::Port)
                                          .NoFactory()
                                          .Build();
    return record;
}

} // namespace Ovelund
