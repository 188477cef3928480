#include "support/LoopbackServer.h"

#include "support/ResetConnection.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <utility>

namespace testing_support {

LoopbackServer::LoopbackServer() : LoopbackServer(Script{{}, 0, false}) {}

LoopbackServer::LoopbackServer(Script script) : script_(std::move(script)) {
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
    server_.listen(QHostAddress::LocalHost, 0);
}

void LoopbackServer::ReplyWith(const QByteArray& reply, bool closeAtOnce) {
    std::vector<std::string> chunks;
    if (!reply.isEmpty())
        chunks.push_back(reply.toStdString());
    const bool hold = chunks.empty() && !closeAtOnce;
    const bool closeUnasked = chunks.empty() && closeAtOnce;
    script_ = Script{std::move(chunks), 0, !hold, !closeUnasked, script_.resetAfter};
}

void LoopbackServer::SendOnHeldConnection(const QByteArray& bytes) {
    if (!latest_)
        return;
    latest_->write(bytes);
    End(latest_, script_.resetAfter);
}

QByteArray LoopbackServer::latestRequest() const {
    const auto peer = peers_.find(latest_.data());
    return peer == peers_.end() ? QByteArray() : peer->second.received;
}

QByteArray LoopbackServer::HttpReply(int status, const QByteArray& body) {
    return "HTTP/1.0 " + QByteArray::number(status) +
           " Status\r\nContent-Type: text/xml\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\n\r\n" + body;
}

void LoopbackServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        peers_[socket] = Peer{};
        latest_ = socket;
        connectionClosed_ = false;
        QObject::connect(socket, &QIODevice::readyRead, &server_, [this, socket] { Receive(socket); });
        auto noteClose = [this, socket] {
            if (!serverClosed_)
                clientClosed_ = true;
            if (socket == latest_)
                connectionClosed_ = true;
        };
        QObject::connect(socket, &QAbstractSocket::disconnected, &server_, noteClose);
        QObject::connect(socket, &QAbstractSocket::errorOccurred, &server_, [this] {
            if (!serverClosed_)
                clientClosed_ = true;
        });
        if (!script_.waitForRequest)
            Start(socket);
    }
}

void LoopbackServer::Receive(QTcpSocket* socket) {
    const QByteArray bytes = socket->readAll();
    request_ += bytes.toStdString();
    Peer& peer = peers_[socket];
    peer.received += bytes;
    if (!peer.playing && peer.received.contains("\r\n\r\n"))
        Start(socket);
}

void LoopbackServer::Start(QTcpSocket* socket) {
    peers_[socket].playing = true;
    Send(socket, std::make_shared<const Script>(script_), 0);
}

void LoopbackServer::Send(QTcpSocket* socket, const std::shared_ptr<const Script>& script,
                          std::size_t index) {
    if (index == script->chunks.size()) {
        if (script->resetAfter || script->closeAfter)
            End(socket, script->resetAfter);
        return;
    }
    auto step = [this, socket, script, index] {
        const std::string& chunk = script->chunks[index];
        socket->write(chunk.data(), static_cast<qint64>(chunk.size()));
        ++chunksSent_;
        Send(socket, script, index + 1);
    };
    if (script->delayMs > 0)
        QTimer::singleShot(script->delayMs, socket, step);
    else
        step();
}

void LoopbackServer::End(QTcpSocket* socket, bool reset) {
    serverClosed_ = true;
    if (reset)
        ResetConnection(*socket);
    else
        socket->disconnectFromHost();
}

} // namespace testing_support
