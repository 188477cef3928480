#include "support/FullBacklogListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace testing_support {

namespace {

// A listening socket's TCP_INFO reports the connections waiting to be accepted as `unacked` and the room
// for them as `sacked`.
tcp_info ListenerInfo(int listener) {
    tcp_info info{};
    socklen_t length = sizeof info;
    if (::getsockopt(listener, IPPROTO_TCP, TCP_INFO, &info, &length) != 0)
        throw std::runtime_error("cannot read the listener's state");
    return info;
}

} // namespace

FullBacklogListener::FullBacklogListener() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 0) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on a loopback port");
    port_ = ntohs(address.sin_port);

    // Connections of our own until the queue is full; each is given until it is made or the queue shows
    // itself full. The bound only ends a run on a system that never fills the queue.
    constexpr int maxFillers = 8;
    constexpr int maxWaits = 1000;
    for (int filler = 0; filler < maxFillers && !full(); ++filler) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            throw std::runtime_error("cannot make a socket");
        fillers_.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 && errno != EINPROGRESS)
            throw std::runtime_error("cannot connect to the listener");
        for (int wait = 0; wait < maxWaits && !full(); ++wait) {
            pollfd made{fd, POLLOUT, 0};
            if (::poll(&made, 1, 10) == 1 && ListenerInfo(listener_).tcpi_unacked >= fillers_.size())
                break;
        }
    }
    if (!full())
        throw std::runtime_error("the listener's queue did not fill");
}

FullBacklogListener::~FullBacklogListener() {
    for (int fd : fillers_)
        ::close(fd);
    if (listener_ >= 0)
        ::close(listener_);
}

bool FullBacklogListener::full() const {
    const tcp_info info = ListenerInfo(listener_);
    return info.tcpi_unacked > info.tcpi_sacked;
}

unsigned FullBacklogListener::queued() const {
    return ListenerInfo(listener_).tcpi_unacked;
}

} // namespace testing_support
