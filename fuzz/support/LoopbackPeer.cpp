#include "support/LoopbackPeer.h"

#include "support/Checks.h"
#include "support/Toolkit.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace fuzz_support {

LoopbackPeer::LoopbackPeer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    Require(listener_ >= 0, "the peer's listener could not be made");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    Require(::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                ::listen(listener_, SOMAXCONN) == 0 &&
                ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0,
            "the peer's listener could not listen on loopback");
    port_ = ntohs(address.sin_port);
}

LoopbackPeer::~LoopbackPeer() {
    Clear();
    ::close(listener_);
}

void LoopbackPeer::Pump() {
    PumpOnce();
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            break;
        Drop();
        connection_ = fd;
        ++accepted_;
        received_.clear();
        clientEnded_ = false;
    }
    ReadAvailable();
}

void LoopbackPeer::PumpUntil(const std::function<bool()>& done, const char* what) {
    Require(fuzz_support::PumpUntil([&] {
                if (done())
                    return true;
                Pump();
                return done();
            }),
            what);
}

void LoopbackPeer::ReadAvailable() {
    while (connection_ >= 0 && !clientEnded_) {
        char buffer[64 * 1024];
        const ssize_t n = ::recv(connection_, buffer, sizeof buffer, 0);
        if (n > 0)
            received_.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            clientEnded_ = true;
        else if (errno != EINTR)
            break;
    }
}

bool LoopbackPeer::Write(std::string_view bytes) {
    const int target = connection_;
    while (connection_ == target && target >= 0 && !bytes.empty()) {
        const ssize_t n = ::send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // The client has not read what came before; let it.
            Pump();
        } else if (errno != EINTR) {
            return false;
        }
    }
    return connection_ == target && target >= 0;
}

void LoopbackPeer::Close() {
    if (connection_ < 0)
        return;
    ReadAvailable();
    ::shutdown(connection_, SHUT_WR);
    // What the client sends until it has seen the close is read too, so that the close stays in order. The
    // client may answer the close with a new connection, which then is the current one.
    const int accepted = accepted_;
    PumpUntil([&] { return clientEnded_ || accepted_ != accepted; },
              "the client did not end a connection closed by its peer");
    if (accepted_ == accepted)
        Drop();
}

void LoopbackPeer::Reset() {
    if (connection_ < 0)
        return;
    const linger abort{1, 0};
    ::setsockopt(connection_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    Drop();
}

void LoopbackPeer::Clear() {
    Drop();
    received_.clear();
    clientEnded_ = false;
    for (int fd; (fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
        ::close(fd);
}

void LoopbackPeer::Drop() {
    if (connection_ >= 0)
        ::close(std::exchange(connection_, -1));
}

} // namespace fuzz_support
