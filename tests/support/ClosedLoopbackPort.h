#pragma once
// A loopback port known to refuse connections for the object's lifetime: a socket of our own is bound to it
// and never listens, so no other program can take the port, and every connection to it is refused.

#include <cstdint>
#include <string>

namespace testing_support {

class ClosedLoopbackPort {
public:
    ClosedLoopbackPort();
    ~ClosedLoopbackPort();
    ClosedLoopbackPort(const ClosedLoopbackPort&) = delete;
    ClosedLoopbackPort& operator=(const ClosedLoopbackPort&) = delete;

    std::uint16_t port() const { return port_; }

private:
    int socket_ = -1;
    std::uint16_t port_ = 0;
};

} // namespace testing_support
