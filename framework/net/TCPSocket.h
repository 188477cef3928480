#pragma once
// A TCP connection on the toolkit's socket and event loop: connect to Address:Port, write bytes, read what
// has arrived. Name resolution goes through HostResolver.h, which tests can point at loopback.

#include "framework/String.h"
#include "framework/net/SocketCore.h"

#include <functional>
#include <memory>

namespace Ovelund {

struct TCPSocketNative;

class TCPSocket : public SocketCore {
    OVELUND_OBJECT
public:
    TCPSocket();
    ~TCPSocket() override;

    const String& Address() const { return address_; }
    void SetAddress(const String& address) {
        CheckUIThread();
        address_ = address;
    }

    // Starts connecting to Address:Port; Connected or Error follows on the event loop.
    void Connect();
    // Without a connection the bytes are dropped and LastErrorCode becomes InvalidState.
    void Write(const String& bytes);
    // Everything received and not read yet.
    String ReadAll();
    // Ends the connection at once and raises nothing; bytes the system has not taken yet are dropped.
    void Close();
    bool IsConnected() const;

protected:
    // What subclasses do on the socket's events; the default raises the matching SocketCore event. Error
    // passes only the sender (its handler reads LastErrorCode); the peer's close, or an error once connected,
    // is OnClosed, whose default raises Error with LostConnection.
    virtual void OnConnected();
    virtual void OnDataAvailable();
    virtual void OnError(std::int32_t code);
    virtual void OnClosed();

    // Connects to `host` (through HostResolver.h) at `port`, leaving Address and Port alone; Connect() is
    // ConnectTo(Address(), Port()). A port outside 1..65535 reports Error InvalidPort, and a name that the
    // host map gives no address NameResolutionFailed, both on the event loop.
    void ConnectTo(const String& host, std::int32_t port);
    // Runs `work` later on the event loop, as a toolkit event does; nothing runs when the socket is gone by
    // then.
    void Post(std::function<void()> work);

private:
    friend struct TCPSocketNative;
    String address_;
    std::unique_ptr<TCPSocketNative> native_;
};

} // namespace Ovelund
