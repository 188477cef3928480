#include "framework/net/TCPSocket.h"

#include "framework/dispatch/Dispatch.h"
#include "framework/net/HostResolver.h"
#include "framework/net/SocketErrors.h"
#include "framework/net/TCPSocketNative.h"
#include "framework/runtime/UIThread.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <optional>
#include <utility>

namespace Ovelund {

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
    if (port < 1 || port > 65535) {
        native_->FailLater(SocketError::kInvalidPort);
        return;
    }
    const std::optional<String> address = ResolveHostForConnection(host);
    if (!address) {
        native_->FailLater(SocketError::kNameResolutionFailed);
        return;
    }
    native_->Start(*address, static_cast<quint16>(port));
}

// Bytes written while there is no connection are dropped, with LastErrorCode kInvalidState.
void TCPSocket::Write(const String& bytes) {
    CheckUIThread();
    if (!IsConnected()) {
        SetLastErrorCode(SocketError::kInvalidState);
        return;
    }
    native_->Write(bytes);
}

String TCPSocket::ReadAll() {
    CheckUIThread();
    return native_->TakeInput();
}

// Ends the connection at once and raises nothing.
void TCPSocket::Close() {
    CheckUIThread();
    native_->Release();
}

bool TCPSocket::IsConnected() const {
    return native_->IsConnected();
}

std::uint64_t TCPSocket::ConnectAttempts() const {
    return native_->Attempts();
}

void TCPSocket::SetConnectAttemptLimit(unsigned milliseconds) {
    TCPSocketNative::SetAttemptLimit(milliseconds);
}

void TCPSocket::Post(std::function<void()> work) {
    auto* application = QCoreApplication::instance();
    if (!application)
        return;
    QMetaObject::invokeMethod(
        application,
        [weak = weak_from_this(), work = std::move(work)] {
            // Held through the work, which may drop the last reference to the socket.
            if (Ref<Object> self = weak.lock())
                Dispatch(work);
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
