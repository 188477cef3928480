#include "framework/net/TCPSocketNative.h"

#include "framework/core/FlagScope.h"
#include "framework/dispatch/Dispatch.h"
#include "framework/net/SocketErrors.h"
#include "framework/net/TCPSocket.h"
#include "framework/qt/QtText.h"

#include <QHostInfo>
#include <QString>

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace Ovelund {

namespace {

// The limit of one connect attempt, in milliseconds; 0 leaves the system's.
unsigned connectAttemptLimit = 0;

// At most this many bytes are read in one pass; the rest waits for the next.
constexpr std::size_t kMaxReadPass = std::size_t{256} * 1024;

// The system's error numbers as the codes of SocketErrors.h:
//   no descriptor, buffer or memory; no permission; unsupported family; local address unavailable
//                                                           -> kOpenDriverError
//   local address in use                                    -> kAddressInUse
//   an operation in the wrong state                         -> kInvalidState
//   anything else (refused, unreachable, reset, broken pipe, timed out, network down) -> kLostConnection
std::int32_t ErrorCode(int error) {
    switch (error) {
    case EMFILE:
    case ENFILE:
    case ENOBUFS:
    case ENOMEM:
    case EACCES:
    case EPERM:
    case EAFNOSUPPORT:
    case EPROTONOSUPPORT:
    case EADDRNOTAVAIL:
        return SocketError::kOpenDriverError;
    case EADDRINUSE:
        return SocketError::kAddressInUse;
    case EALREADY:
    case EISCONN:
    case EBADF:
    case ENOTSOCK:
        return SocketError::kInvalidState;
    default:
        return SocketError::kLostConnection;
    }
}

// The system's form of `address` at `port`; false for an address of another family than IPv4 and IPv6.
bool ToSystemAddress(const QHostAddress& address, quint16 port, sockaddr_storage& out, socklen_t& length) {
    std::memset(&out, 0, sizeof out);
    bool isIPv4 = false;
    const quint32 v4 = address.toIPv4Address(&isIPv4);
    if (isIPv4) {
        auto* in = reinterpret_cast<sockaddr_in*>(&out);
        in->sin_family = AF_INET;
        in->sin_port = htons(port);
        in->sin_addr.s_addr = htonl(v4);
        length = sizeof(sockaddr_in);
        return true;
    }
    if (address.protocol() != QAbstractSocket::IPv6Protocol)
        return false;
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&out);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = htons(port);
    const Q_IPV6ADDR bytes = address.toIPv6Address();
    std::memcpy(&in6->sin6_addr, bytes.c, sizeof bytes.c);
    const QString scope = address.scopeId();
    if (!scope.isEmpty()) {
        bool numeric = false;
        const uint index = scope.toUInt(&numeric);
        in6->sin6_scope_id = numeric ? index : if_nametoindex(scope.toLocal8Bit().constData());
    }
    length = sizeof(sockaddr_in6);
    return true;
}

} // namespace

template <class... Args> auto TCPSocketNative::Guarded(std::function<void(Args...)> work) {
    // The socket is held through the call, which may be the one that lets it go.
    return
        [this, weak = owner_.weak_from_this(), current = generation_, work = std::move(work)](Args... args) {
            if (Ref<Object> self = weak.lock(); self && generation_ == current)
                work(args...);
        };
}

void TCPSocketNative::Run(const std::function<void()>& work) {
    Dispatch([this, &work] {
        // Keeps the socket alive through its own handler, which may drop the last reference to it.
        Ref<Object> self = owner_.shared_from_this();
        work();
    });
}

void TCPSocketNative::Start(const String& host, quint16 toPort) {
    const FlagScope starting(connecting_);
    port_ = toPort;
    QHostAddress literal;
    if (literal.setAddress(ToQt(host))) {
        addresses_ = {literal};
        ConnectNext();
        return;
    }
    lookupReceiver_.reset(new QObject);
    lookupId_ =
        QHostInfo::lookupHost(ToQt(host), lookupReceiver_.get(),
                              Guarded(std::function<void(const QHostInfo&)>([this](const QHostInfo& info) {
                                  lookupId_ = -1;
                                  lookupReceiver_.reset();
                                  addresses_ = info.addresses();
                                  if (info.error() != QHostInfo::NoError || addresses_.isEmpty()) {
                                      Fail(SocketError::kNameResolutionFailed);
                                      return;
                                  }
                                  ConnectNext();
                              })));
}

void TCPSocketNative::FailLater(std::int32_t code) {
    const std::uint64_t current = generation_;
    owner_.Post([this, current, code] {
        if (generation_ == current)
            owner_.OnError(code);
    });
}

// Tries the addresses in turn from the next one. An attempt that is under way waits for its outcome; one
// that fails at once passes to the next address.
void TCPSocketNative::ConnectNext() {
    while (nextAddress_ < addresses_.size()) {
        sockaddr_storage address;
        socklen_t length = 0;
        if (!ToSystemAddress(addresses_[nextAddress_++], port_, address, length)) {
            lastError_ = EAFNOSUPPORT;
            continue;
        }
        const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
        if (fd < 0) {
            lastError_ = errno;
            continue;
        }
        ++attempts_;
        if (connectAttemptLimit > 0) {
            // The fewest retries, and a time limit where the system applies one to a connect as well.
            const int fewestRetries = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_SYNCNT, &fewestRetries, sizeof fewestRetries);
            ::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &connectAttemptLimit, sizeof connectAttemptLimit);
        }
        // A connect made at once is reported like one in progress, when the socket shows itself writable:
        // on the event loop, never inside the call that started it. An interrupted connect goes on by itself.
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 || errno == EINPROGRESS ||
            errno == EINTR) {
            Watch(fd);
            writeWatcher_->setEnabled(true);
            return;
        }
        lastError_ = errno;
        ::close(fd);
    }
    // Only the system's time-out starts a new round, so a round never follows another without a wait.
    if (roundTimedOut_) {
        roundTimedOut_ = false;
        nextAddress_ = 0;
        ConnectNext();
        return;
    }
    Fail(ErrorCode(lastError_));
}

void TCPSocketNative::Watch(int fd) {
    descriptor_ = fd;
    readWatcher_.reset(new QSocketNotifier(fd, QSocketNotifier::Read));
    writeWatcher_.reset(new QSocketNotifier(fd, QSocketNotifier::Write));
    readWatcher_->setEnabled(false);
    writeWatcher_->setEnabled(false);
    QObject::connect(readWatcher_.get(), &QSocketNotifier::activated, readWatcher_.get(),
                     Guarded(std::function<void()>([this] { Readable(); })));
    QObject::connect(writeWatcher_.get(), &QSocketNotifier::activated, writeWatcher_.get(),
                     Guarded(std::function<void()>([this] { connected_ ? Flush() : ConnectFinished(); })));
}

void TCPSocketNative::ConnectFinished() {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(descriptor_, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == 0) {
        sockaddr_storage peer;
        socklen_t peerLength = sizeof peer;
        // A wake-up without an outcome leaves the connect waiting.
        if (::getpeername(descriptor_, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0)
            Established();
        else if (errno != ENOTCONN)
            ConnectFailed(errno);
        return;
    }
    ConnectFailed(error);
}

void TCPSocketNative::ConnectFailed(int error) {
    CloseDescriptor();
    roundTimedOut_ = roundTimedOut_ || error == ETIMEDOUT;
    lastError_ = error;
    ConnectNext();
}

void TCPSocketNative::Established() {
    connected_ = true;
    if (connectAttemptLimit > 0) {
        // The limit is for the connect alone.
        const unsigned none = 0;
        ::setsockopt(descriptor_, IPPROTO_TCP, TCP_USER_TIMEOUT, &none, sizeof none);
    }
    writeWatcher_->setEnabled(false);
    readWatcher_->setEnabled(true);
    Run([this] { owner_.OnConnected(); });
}

// Reads what has arrived and offers it, then reports the end of the connection if it came with it: the peer's
// orderly close as a close, anything else (a reset, or a write that failed before) as an error.
void TCPSocketNative::Readable() {
    const std::uint64_t current = generation_;
    const qsizetype before = input_.size();
    bool closed = false;
    int error = 0;
    char buffer[64 * 1024];
    for (std::size_t taken = 0; taken < kMaxReadPass;) {
        const ssize_t n = ::read(descriptor_, buffer, sizeof buffer);
        if (n > 0) {
            input_.append(buffer, static_cast<qsizetype>(n));
            taken += static_cast<std::size_t>(n);
        } else if (n == 0) {
            closed = true;
            break;
        } else if (errno != EINTR) {
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                error = errno;
            break;
        }
    }
    if (closed && writeError_ != 0)
        error = writeError_;
    if (closed || error != 0) {
        finished_ = true;
        CloseDescriptor();
    }
    if (input_.size() > before) {
        Run([this] { owner_.OnDataAvailable(); });
        if (generation_ != current)
            return;
    }
    if (error != 0)
        Run([this, error] { owner_.OnError(ErrorCode(error)); });
    else if (closed)
        Run([this] { owner_.OnClosed(); });
}

// Writes what the system takes now and watches for room for the rest. A failed write ends nothing by itself:
// the system has then taken the connection's error, so reading shows a plain end, which is reported with it.
void TCPSocketNative::Flush() {
    while (!output_.isEmpty() && writeError_ == 0) {
        const ssize_t n =
            ::send(descriptor_, output_.constData(), static_cast<std::size_t>(output_.size()), MSG_NOSIGNAL);
        if (n >= 0) {
            output_.remove(0, static_cast<qsizetype>(n));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        } else if (errno != EINTR) {
            writeError_ = errno;
            output_.clear();
        }
    }
    writeWatcher_->setEnabled(!output_.isEmpty());
}

void TCPSocketNative::CloseDescriptor() {
    // The watchers stop before the descriptor closes, since the next connection may get its number. They are
    // let go, not deleted: one of them may be the watcher whose signal runs now.
    for (QSocketNotifier* watcher : {readWatcher_.get(), writeWatcher_.get()})
        if (watcher)
            watcher->setEnabled(false);
    readWatcher_.reset();
    writeWatcher_.reset();
    if (descriptor_ >= 0)
        ::close(std::exchange(descriptor_, -1));
}

void TCPSocketNative::Fail(std::int32_t code) {
    finished_ = true;
    CloseDescriptor();
    if (!connecting_) {
        Run([this, code] { owner_.OnError(code); });
        return;
    }
    // The outcome of a connect never arrives inside the call that started it.
    FailLater(code);
}

void TCPSocketNative::Release() {
    ++generation_;
    if (lookupId_ >= 0)
        QHostInfo::abortHostLookup(std::exchange(lookupId_, -1));
    lookupReceiver_.reset();
    // What the system takes at once still goes out; the rest of a pending write is dropped.
    if (connected_ && descriptor_ >= 0 && !output_.isEmpty())
        (void)::send(descriptor_, output_.constData(), static_cast<std::size_t>(output_.size()),
                     MSG_NOSIGNAL);
    CloseDescriptor();
    addresses_.clear();
    nextAddress_ = 0;
    roundTimedOut_ = false;
    lastError_ = 0;
    input_.clear();
    output_.clear();
    writeError_ = 0;
    connected_ = false;
    finished_ = false;
}

void TCPSocketNative::Write(const String& bytes) {
    output_.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
    Flush();
}

String TCPSocketNative::TakeInput() {
    const QByteArray bytes = std::exchange(input_, QByteArray());
    return String(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void TCPSocketNative::SetAttemptLimit(unsigned milliseconds) {
    connectAttemptLimit = milliseconds;
}

} // namespace Ovelund
