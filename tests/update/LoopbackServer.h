#pragma once
// A web server on the loopback interface for the update check: it takes connections, gathers each
// request's bytes and, once the request's empty line is in, answers with a scripted reply, or holds the
// connection open when there is none.

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdint>
#include <string>

namespace update_testing {

class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // The update document's address on this server, under the maker's host name.
    std::string url() const;
    quint16 port() const { return server_.serverPort(); }

    // The reply to every complete request; the server closes the connection after writing it. An empty
    // reply with `closeAtOnce` closes without a byte; an empty reply without it holds the connection.
    void ReplyWith(const QByteArray& reply, bool closeAtOnce = false);
    // Writes `bytes` on the held connection and closes it.
    void SendOnHeldConnection(const QByteArray& bytes);
    // Ends each reply with a reset instead of an orderly close.
    void ResetInsteadOfClosing() { reset_ = true; }

    int connections() const { return connections_; }
    bool requestComplete() const { return request_.contains("\r\n\r\n"); }
    const QByteArray& request() const { return request_; }
    // The client closed or dropped the latest connection.
    bool peerClosed() const { return peerClosed_; }

    // A reply with Content-Length, as a web server writes one.
    static QByteArray HttpReply(int status, const QByteArray& body);

private:
    void Accept();
    void Answer();

    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray request_;
    QByteArray reply_;
    bool closeAtOnce_ = false;
    bool reset_ = false;
    bool answered_ = false;
    bool peerClosed_ = false;
    int connections_ = 0;
};

// The update document's address at a loopback port, under the maker's host name.
std::string UpdateDocumentUrl(quint16 port);

} // namespace update_testing
