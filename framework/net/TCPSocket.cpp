#include "framework/net/TCPSocket.h"

#include "framework/Runtime.h"
#include "framework/net/HostResolver.h"
#include "framework/net/SocketErrors.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QCoreApplication>
#include <QNetworkProxy>
#include <QString>
#include <QTcpSocket>

#include <optional>
#include <utility>
#include <vector>

namespace Ovelund {

namespace {

// How many socket callbacks are running on the user-interface thread. A toolkit socket released while one
// runs may be the very one emitting the signal, which must not be deleted under its own feet.
int callbacksRunning = 0;

// The toolkit's socket errors as the codes of SocketErrors.h:
//   host not found (also of a toolkit proxy)               -> NameResolutionFailed
//   access, resource, unsupported operation, local address -> OpenDriverError
//   local address in use                                   -> AddressInUse
//   operation or unfinished operation in the wrong state   -> InvalidState
//   anything else (refused, closed, reset, network down, timed out, proxy, unknown) -> LostConnection
std::int32_t ErrorCode(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::ProxyNotFoundError:
        return SocketError::NameResolutionFailed;
    case QAbstractSocket::SocketAccessError:
    case QAbstractSocket::SocketResourceError:
    case QAbstractSocket::UnsupportedSocketOperationError:
    case QAbstractSocket::SocketAddressNotAvailableError:
        return SocketError::OpenDriverError;
    case QAbstractSocket::AddressInUseError:
        return SocketError::AddressInUse;
    case QAbstractSocket::OperationError:
    case QAbstractSocket::UnfinishedSocketOperationError:
        return SocketError::InvalidState;
    default:
        return SocketError::LostConnection;
    }
}

} // namespace

// One toolkit socket per connection: a new connection gets a fresh one, so nothing of an earlier connection
// reaches it. The signal connections are cut before a toolkit socket is closed or deleted.
struct TCPSocketNative {
    explicit TCPSocketNative(TCPSocket& owner) : owner(owner) {}
    ~TCPSocketNative() { release(); }
    TCPSocketNative(const TCPSocketNative&) = delete;
    TCPSocketNative& operator=(const TCPSocketNative&) = delete;

    void open();
    void release();
    // Runs the framework's side of a toolkit callback.
    void run(const std::function<void()>& work);
    void closed();

    TCPSocket& owner;
    QTcpSocket* socket = nullptr;
    std::vector<QMetaObject::Connection> connections;
    // Counts connections opened and released, so that work posted for one is dropped once it is gone.
    std::uint64_t generation = 0;
    bool connected = false;  // the connection was made
    bool finished = false;   // its error or its close was reported
    bool connecting = false; // inside connectToHost, which may report a failure before it returns
};

void TCPSocketNative::open() {
    release();
    socket = new QTcpSocket;
    // Proxies are the HTTP client's own business (see HttpUrl.h); the toolkit's settings must not reroute.
    socket->setProxy(QNetworkProxy::NoProxy);
    connections.push_back(QObject::connect(socket, &QAbstractSocket::connected, socket, [this] {
        connected = true;
        run([this] { owner.OnConnected(); });
    }));
    connections.push_back(QObject::connect(socket, &QIODevice::readyRead, socket, [this] {
        if (!finished)
            run([this] { owner.OnDataAvailable(); });
    }));
    connections.push_back(QObject::connect(socket, &QAbstractSocket::errorOccurred, socket,
                                           [this](QAbstractSocket::SocketError error) {
                                               if (finished)
                                                   return;
                                               // Once connected, any error (the peer closing, a reset) ends
                                               // the connection like a close.
                                               if (connected) {
                                                   closed();
                                                   return;
                                               }
                                               finished = true;
                                               const std::int32_t code = ErrorCode(error);
                                               // The outcome of a connect never arrives inside the call
                                               // that started it.
                                               if (connecting) {
                                                   const std::uint64_t current = generation;
                                                   owner.Post([this, current, code] {
                                                       if (generation == current)
                                                           owner.OnError(code);
                                                   });
                                                   return;
                                               }
                                               run([this, code] { owner.OnError(code); });
                                           }));
    connections.push_back(QObject::connect(socket, &QAbstractSocket::disconnected, socket, [this] {
        if (!finished)
            closed();
    }));
}

void TCPSocketNative::release() {
    ++generation;
    connected = false;
    finished = false;
    if (!socket)
        return;
    for (const auto& connection : connections)
        QObject::disconnect(connection);
    connections.clear();
    QTcpSocket* old = std::exchange(socket, nullptr);
    // What the system takes at once still goes out; the rest of a pending write is dropped.
    old->flush();
    old->abort();
    if (callbacksRunning > 0)
        old->deleteLater();
    else
        delete old;
}

void TCPSocketNative::run(const std::function<void()>& work) {
    ++callbacksRunning;
    Dispatch([this, &work] {
        // Keeps the socket alive through its own handler, which may drop the last reference to it.
        Ref<Object> self = owner.shared_from_this();
        work();
    });
    --callbacksRunning;
}

void TCPSocketNative::closed() {
    finished = true;
    run([this] { owner.OnClosed(); });
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
    native_->release();
    // Failures found before any connection is tried are reported on the event loop too.
    auto reportLater = [this](std::int32_t code) {
        const std::uint64_t generation = native_->generation;
        Post([this, generation, code] {
            if (native_->generation == generation)
                OnError(code);
        });
    };
    if (port < 1 || port > 65535) {
        reportLater(SocketError::InvalidPort);
        return;
    }
    const std::optional<String> address = ResolveHostForConnection(host);
    if (!address) {
        reportLater(SocketError::NameResolutionFailed);
        return;
    }
    native_->open();
    native_->connecting = true;
    native_->socket->connectToHost(QString::fromStdString(*address), static_cast<quint16>(port));
    native_->connecting = false;
}

// Bytes written while there is no connection are dropped, with LastErrorCode InvalidState.
void TCPSocket::Write(const String& bytes) {
    if (!IsConnected()) {
        SetLastErrorCode(SocketError::InvalidState);
        return;
    }
    native_->socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

String TCPSocket::ReadAll() {
    if (!native_->socket)
        return {};
    const QByteArray bytes = native_->socket->readAll();
    return String(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Ends the connection at once and raises nothing.
void TCPSocket::Close() {
    native_->release();
}

bool TCPSocket::IsConnected() const {
    return native_->socket && native_->socket->state() == QAbstractSocket::ConnectedState;
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

// A plain socket reports the peer's close as the socket layer does, as Error LostConnection.
void TCPSocket::OnClosed() {
    SetLastErrorCode(SocketError::LostConnection);
    RaiseEvent(EventError, shared_from_this());
}

} // namespace Ovelund
