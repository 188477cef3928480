#include "framework/net/TCPSocket.h"

#include "framework/dispatch/Dispatch.h"
#include "framework/net/HostResolver.h"
#include "framework/net/SocketErrors.h"
#include "framework/qt/QtText.h"
#include "framework/runtime/UIThread.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHostAddress>
#include <QHostInfo>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
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

// How many socket callbacks are running on the user-interface thread. The watchers of a connection
// released while one runs may be the very ones whose signal runs, which must not be deleted under their own
// feet.
int callbacksRunning = 0;

// The test seam's limit for one connect attempt, in milliseconds; 0 leaves the system's.
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

// One connection at a time: its descriptor and the event loop's watchers of it, the host's addresses and
// where the connect stands among them, and the bytes on their way in and out. Every callback checks the
// connection's generation, so that nothing of an earlier connection reaches a later one.
struct TCPSocketNative {
    explicit TCPSocketNative(TCPSocket& owner) : owner(owner) {}
    ~TCPSocketNative() { Release(); }
    TCPSocketNative(const TCPSocketNative&) = delete;
    TCPSocketNative& operator=(const TCPSocketNative&) = delete;

    void Start(const String& host, quint16 port);
    void Release();
    // Runs the framework's side of a callback.
    void Run(const std::function<void()>& work);
    // A callback of the event loop for the current connection: nothing runs once the socket or the
    // connection is gone.
    template <class... Args> auto Guarded(std::function<void(Args...)> work);

    void ConnectNext();
    void Watch(int descriptor);
    void ConnectFinished();
    void ConnectFailed(int error);
    void Established();
    void Readable();
    void Flush();
    // The descriptor and its watchers go; the bytes read stay for ReadAll.
    void CloseDescriptor();
    // The connection ends with `code`: on the event loop when the call that started the connect still runs.
    void Fail(std::int32_t code);

    TCPSocket& owner;
    std::uint64_t generation = 0;
    std::uint64_t attempts = 0;

    int descriptor = -1;
    // Parent of the watchers of the descriptor and receiver of a name lookup.
    QObject* watchers = nullptr;
    QSocketNotifier* readWatcher = nullptr;
    QSocketNotifier* writeWatcher = nullptr;
    int lookupId = -1;

    QList<QHostAddress> addresses;
    qsizetype nextAddress = 0;
    quint16 port = 0;
    bool roundTimedOut = false; // an attempt of this round was given up by the system
    int lastError = 0;

    QByteArray input;
    QByteArray output;
    int writeError = 0;      // a write failed; the read side ends the connection with it
    bool connected = false;  // the connection was made
    bool finished = false;   // its end was reported, or is on its way
    bool connecting = false; // inside start, which reports no outcome itself
};

template <class... Args> auto TCPSocketNative::Guarded(std::function<void(Args...)> work) {
    return [this, weak = owner.weak_from_this(), current = generation, work = std::move(work)](Args... args) {
        // Counted until the socket is let go, which may be its last reference: the watcher whose signal runs
        // must then outlive the call.
        ++callbacksRunning;
        if (Ref<Object> self = weak.lock(); self && generation == current)
            work(args...);
        --callbacksRunning;
    };
}

void TCPSocketNative::Run(const std::function<void()>& work) {
    ++callbacksRunning;
    Dispatch([this, &work] {
        // Keeps the socket alive through its own handler, which may drop the last reference to it.
        Ref<Object> self = owner.shared_from_this();
        work();
    });
    --callbacksRunning;
}

void TCPSocketNative::Start(const String& host, quint16 toPort) {
    port = toPort;
    watchers = new QObject;
    QHostAddress literal;
    if (literal.setAddress(ToQt(host))) {
        addresses = {literal};
        ConnectNext();
        return;
    }
    lookupId = QHostInfo::lookupHost(
        ToQt(host), watchers, Guarded(std::function<void(const QHostInfo&)>([this](const QHostInfo& info) {
            lookupId = -1;
            addresses = info.addresses();
            if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
                Fail(SocketError::kNameResolutionFailed);
                return;
            }
            ConnectNext();
        })));
}

// Tries the addresses in turn from the next one. An attempt that is under way waits for its outcome; one
// that fails at once passes to the next address.
void TCPSocketNative::ConnectNext() {
    while (nextAddress < addresses.size()) {
        sockaddr_storage address;
        socklen_t length = 0;
        if (!ToSystemAddress(addresses[nextAddress++], port, address, length)) {
            lastError = EAFNOSUPPORT;
            continue;
        }
        const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        ++attempts;
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
            writeWatcher->setEnabled(true);
            return;
        }
        lastError = errno;
        ::close(fd);
    }
    // Only the system's time-out starts a new round, so a round never follows another without a wait.
    if (roundTimedOut) {
        roundTimedOut = false;
        nextAddress = 0;
        ConnectNext();
        return;
    }
    Fail(ErrorCode(lastError));
}

void TCPSocketNative::Watch(int fd) {
    descriptor = fd;
    readWatcher = new QSocketNotifier(fd, QSocketNotifier::Read, watchers);
    writeWatcher = new QSocketNotifier(fd, QSocketNotifier::Write, watchers);
    readWatcher->setEnabled(false);
    writeWatcher->setEnabled(false);
    QObject::connect(readWatcher, &QSocketNotifier::activated, readWatcher,
                     Guarded(std::function<void()>([this] { Readable(); })));
    QObject::connect(writeWatcher, &QSocketNotifier::activated, writeWatcher,
                     Guarded(std::function<void()>([this] { connected ? Flush() : ConnectFinished(); })));
}

void TCPSocketNative::ConnectFinished() {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == 0) {
        sockaddr_storage peer;
        socklen_t peerLength = sizeof peer;
        // A wake-up without an outcome leaves the connect waiting.
        if (::getpeername(descriptor, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0)
            Established();
        else if (errno != ENOTCONN)
            ConnectFailed(errno);
        return;
    }
    ConnectFailed(error);
}

void TCPSocketNative::ConnectFailed(int error) {
    CloseDescriptor();
    // A new watcher parent for the next attempt; the old one goes with the descriptor.
    watchers = new QObject;
    roundTimedOut = roundTimedOut || error == ETIMEDOUT;
    lastError = error;
    ConnectNext();
}

void TCPSocketNative::Established() {
    connected = true;
    if (connectAttemptLimit > 0) {
        // The limit is for the connect alone.
        const unsigned none = 0;
        ::setsockopt(descriptor, IPPROTO_TCP, TCP_USER_TIMEOUT, &none, sizeof none);
    }
    writeWatcher->setEnabled(false);
    readWatcher->setEnabled(true);
    Run([this] { owner.OnConnected(); });
}

// Reads what has arrived and offers it, then reports the end of the connection if it came with it: the peer's
// orderly close as a close, anything else (a reset, or a write that failed before) as an error.
void TCPSocketNative::Readable() {
    const std::uint64_t current = generation;
    const qsizetype before = input.size();
    bool closed = false;
    int error = 0;
    char buffer[64 * 1024];
    for (std::size_t taken = 0; taken < kMaxReadPass;) {
        const ssize_t n = ::read(descriptor, buffer, sizeof buffer);
        if (n > 0) {
            input.append(buffer, static_cast<qsizetype>(n));
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
    if (closed && writeError != 0)
        error = writeError;
    if (closed || error != 0) {
        finished = true;
        CloseDescriptor();
    }
    if (input.size() > before) {
        Run([this] { owner.OnDataAvailable(); });
        if (generation != current)
            return;
    }
    if (error != 0)
        Run([this, error] { owner.OnError(ErrorCode(error)); });
    else if (closed)
        Run([this] { owner.OnClosed(); });
}

// Writes what the system takes now and watches for room for the rest. A failed write ends nothing by itself:
// the system has then taken the connection's error, so reading shows a plain end, which is reported with it.
void TCPSocketNative::Flush() {
    while (!output.isEmpty() && writeError == 0) {
        const ssize_t n =
            ::send(descriptor, output.constData(), static_cast<std::size_t>(output.size()), MSG_NOSIGNAL);
        if (n >= 0) {
            output.remove(0, static_cast<qsizetype>(n));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            break;
        } else if (errno != EINTR) {
            writeError = errno;
            output.clear();
        }
    }
    writeWatcher->setEnabled(!output.isEmpty());
}

void TCPSocketNative::CloseDescriptor() {
    if (watchers) {
        for (QSocketNotifier* watcher : {readWatcher, writeWatcher}) {
            if (watcher) {
                watcher->setEnabled(false);
                QObject::disconnect(watcher, nullptr, nullptr, nullptr);
            }
        }
        QObject* old = std::exchange(watchers, nullptr);
        if (callbacksRunning > 0)
            old->deleteLater();
        else
            delete old;
    }
    readWatcher = nullptr;
    writeWatcher = nullptr;
    if (descriptor >= 0)
        ::close(std::exchange(descriptor, -1));
}

void TCPSocketNative::Fail(std::int32_t code) {
    finished = true;
    CloseDescriptor();
    if (!connecting) {
        Run([this, code] { owner.OnError(code); });
        return;
    }
    // The outcome of a connect never arrives inside the call that started it.
    const std::uint64_t current = generation;
    owner.Post([this, current, code] {
        if (generation == current)
            owner.OnError(code);
    });
}

void TCPSocketNative::Release() {
    ++generation;
    if (lookupId >= 0)
        QHostInfo::abortHostLookup(std::exchange(lookupId, -1));
    // What the system takes at once still goes out; the rest of a pending write is dropped.
    if (connected && descriptor >= 0 && !output.isEmpty())
        (void)::send(descriptor, output.constData(), static_cast<std::size_t>(output.size()), MSG_NOSIGNAL);
    CloseDescriptor();
    addresses.clear();
    nextAddress = 0;
    roundTimedOut = false;
    lastError = 0;
    input.clear();
    output.clear();
    writeError = 0;
    connected = false;
    finished = false;
}

const ClassRecord& TCPSocket::Lookup() {
    static const ClassRecord record = ClassBuilder<TCPSocket>("TCPSocket", &SocketCore::Lookup())
                                          .Property("Address", &TCPSocket::SetAddress, &TCPSocket::Address)
                                          .Build();
    return record;
}

TCPSocket::TCPSocket() : native_(std::make_unique<TCPSocketNative>(*this)) {}

TCPSocket::~TCPSocket() = default;

void TCPSocket::Connect() {
    ConnectTo(address_, Port());
}

void TCPSocket::ConnectTo(const String& host, std::int32_t port) {
    CheckUIThread();
    native_->Release();
    // Failures found before any connection is tried are reported on the event loop too.
    auto reportLater = [this](std::int32_t code) {
        const std::uint64_t generation = native_->generation;
        Post([this, generation, code] {
            if (native_->generation == generation)
                OnError(code);
        });
    };
    if (port < 1 || port > 65535) {
        reportLater(SocketError::kInvalidPort);
        return;
    }
    const std::optional<String> address = ResolveHostForConnection(host);
    if (!address) {
        reportLater(SocketError::kNameResolutionFailed);
        return;
    }
    native_->connecting = true;
    native_->Start(*address, static_cast<quint16>(port));
    native_->connecting = false;
}

// Bytes written while there is no connection are dropped, with LastErrorCode kInvalidState.
void TCPSocket::Write(const String& bytes) {
    CheckUIThread();
    if (!IsConnected()) {
        SetLastErrorCode(SocketError::kInvalidState);
        return;
    }
    native_->output.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
    native_->Flush();
}

String TCPSocket::ReadAll() {
    CheckUIThread();
    const QByteArray bytes = std::exchange(native_->input, QByteArray());
    return String(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Ends the connection at once and raises nothing.
void TCPSocket::Close() {
    CheckUIThread();
    native_->Release();
}

bool TCPSocket::IsConnected() const {
    return native_->connected && !native_->finished && native_->descriptor >= 0;
}

std::uint64_t TCPSocket::ConnectAttempts() const {
    return native_->attempts;
}

void TCPSocket::SetConnectAttemptLimit(unsigned milliseconds) {
    connectAttemptLimit = milliseconds;
}

void TCPSocket::Post(std::function<void()> work) {
    auto* application = QCoreApplication::instance();
    if (!application)
        return;
    QMetaObject::invokeMethod(
        application,
        [weak = weak_from_this(), work = std::move(work)] {
            Ref<Object> self = weak.lock();
            if (!self)
                return;
            ++callbacksRunning;
            Dispatch(work);
            --callbacksRunning;
        },
        Qt::QueuedConnection);
}

void TCPSocket::OnConnected() {
    RaiseEvent(EventConnected, shared_from_this());
}

void TCPSocket::OnDataAvailable() {
    RaiseEvent(EventDataAvailable, shared_from_this());
}

// The socket layer's Error event passes only its sender; the handler reads LastErrorCode.
void TCPSocket::OnError(std::int32_t code) {
    SetLastErrorCode(code);
    RaiseEvent(EventError, shared_from_this());
}

// A plain socket reports the peer's close as the socket layer does, as Error kLostConnection.
void TCPSocket::OnClosed() {
    SetLastErrorCode(SocketError::kLostConnection);
    RaiseEvent(EventError, shared_from_this());
}

} // namespace Ovelund
