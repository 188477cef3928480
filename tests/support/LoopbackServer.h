#pragma once
// A web server on the loopback interface. It takes every connection and plays a script on each: chunks of a
// reply written some time apart, then a close, a reset or nothing, which holds the connection open until the
// test writes on it. What it received and how each connection ended is kept for the test to look at.

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// What the server plays on a connection: `chunks` written `delayMs` apart (the first one too), then a close,
// a reset or nothing.
struct Script {
    std::vector<std::string> chunks;
    int delayMs = 0;
    bool closeAfter = true;
    // Whether to wait for the request's empty line before playing.
    bool waitForRequest = true;
    // Whether to end with a reset instead.
    bool resetAfter = false;
};

class LoopbackServer {
public:
    // A server that holds every connection until the test answers on it or gives it a script.
    LoopbackServer();
    explicit LoopbackServer(Script script);
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool listening() const { return server_.isListening(); }
    std::uint16_t port() const { return server_.serverPort(); }

    // The reply to every complete request, followed by a close. An empty reply with `closeAtOnce` closes each
    // connection without a byte; an empty reply without it holds the connection.
    void ReplyWith(const QByteArray& reply, bool closeAtOnce = false);
    // From now on the script ends each connection with a reset, and so does SendOnHeldConnection.
    void ResetInsteadOfClosing() { script_.resetAfter = true; }
    // Writes `bytes` on the latest connection and ends it as the script ends one: with a reset or a close.
    void SendOnHeldConnection(const QByteArray& bytes);

    // The bytes received, of all connections in order.
    const std::string& request() const { return request_; }
    // The bytes received on the latest connection, and whether they hold a whole request.
    QByteArray latestRequest() const;
    bool requestComplete() const { return latestRequest().contains("\r\n\r\n"); }
    int connections() const { return static_cast<int>(peers_.size()); }
    std::size_t chunksSent() const { return chunksSent_; }
    // The server closed its side of a connection.
    bool serverClosed() const { return serverClosed_; }
    // The client closed a connection before the server did.
    bool clientClosed() const { return clientClosed_; }
    // The latest connection has closed, whichever side closed it.
    bool connectionClosed() const { return connectionClosed_; }

    // A reply with Content-Length, as a web server writes one.
    static QByteArray HttpReply(int status, const QByteArray& body);

private:
    struct Peer {
        QByteArray received;
        bool playing = false;
    };

    void Accept();
    void Receive(QTcpSocket* socket);
    void Start(QTcpSocket* socket);
    void Send(QTcpSocket* socket, const std::shared_ptr<const Script>& script, std::size_t index);
    void End(QTcpSocket* socket, bool reset);

    Script script_;
    std::map<QTcpSocket*, Peer> peers_;
    QPointer<QTcpSocket> latest_;
    std::string request_;
    std::size_t chunksSent_ = 0;
    bool serverClosed_ = false;
    bool clientClosed_ = false;
    bool connectionClosed_ = false;
    // Last, so that it goes first: the connections, its children, go with it, after the handlers it is the
    // context of are disconnected, so none of them runs while the server is taken down.
    QTcpServer server_;
};

} // namespace testing_support
