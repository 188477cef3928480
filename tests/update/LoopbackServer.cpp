#include "LoopbackServer.h"

#include "support/ResetConnection.h"

#include <QHostAddress>

namespace update_testing {

std::string UpdateDocumentUrl(quint16 port) {
    return "http://www.example.com:" + std::to_string(port) + "/Updates/tarnwick.xml";
}

LoopbackServer::LoopbackServer() {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
}

LoopbackServer::~LoopbackServer() {
    if (client_) {
        QObject::disconnect(client_, nullptr, nullptr, nullptr);
        client_->abort();
        delete client_;
    }
}

std::string LoopbackServer::url() const {
    return UpdateDocumentUrl(server_.serverPort());
}

void LoopbackServer::ReplyWith(const QByteArray& reply, bool closeAtOnce) {
    reply_ = reply;
    closeAtOnce_ = closeAtOnce;
}

void LoopbackServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        ++connections_;
        if (client_) {
            QObject::disconnect(client_, nullptr, nullptr, nullptr);
            client_->deleteLater();
        }
        client_ = socket;
        request_.clear();
        answered_ = false;
        peerClosed_ = false;
        QObject::connect(socket, &QTcpSocket::readyRead, &server_, [this, socket] {
            if (socket != client_)
                return;
            request_ += socket->readAll();
            if (requestComplete())
                Answer();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, &server_, [this, socket] {
            if (socket == client_)
                peerClosed_ = true;
        });
        if (closeAtOnce_ && reply_.isEmpty())
            socket->disconnectFromHost();
    }
}

void LoopbackServer::Answer() {
    if (answered_ || reply_.isEmpty())
        return;
    answered_ = true;
    SendOnHeldConnection(reply_);
}

void LoopbackServer::SendOnHeldConnection(const QByteArray& bytes) {
    if (!client_)
        return;
    client_->write(bytes);
    if (reset_)
        testing_support::ResetConnection(*client_);
    else
        client_->disconnectFromHost();
}

QByteArray LoopbackServer::HttpReply(int status, const QByteArray& body) {
    return "HTTP/1.0 " + QByteArray::number(status) +
           " Status\r\nContent-Type: text/xml\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\n\r\n" + body;
}

} // namespace update_testing
