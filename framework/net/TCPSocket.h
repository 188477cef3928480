#pragma once
// A TCP connection on the toolkit's event loop: connect to Address:Port, write bytes, read what has arrived.
// Name resolution goes through HostResolver.h, which tests can point at loopback.
//
// The socket is the system's own, watched by the event loop, so that nothing is lost between the system and
// the framework:
// - A connect has no time limit. A host that never answers keeps it waiting until Close: when the system
//   gives up on one attempt (on Linux after about two minutes of unanswered tries), the socket starts
//   another, from the first of the host's addresses again. Addresses that refuse or cannot be reached are
//   passed over; when every address of a round has failed so, without any time-out, Error reports the last
//   failure.
// - The peer's orderly close and a broken connection (a reset, say) are told apart: OnClosed and OnError.

#include "framework/core/ForTests.h"
#include "framework/core/String.h"
#include "framework/net/SocketCore.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Ovelund {

class TCPSocketNative;

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
    // Without a connection the bytes are dropped and LastErrorCode becomes kInvalidState.
    void Write(const String& bytes);
    // Everything received and not read yet.
    String ReadAll();
    // Ends the connection at once and raises nothing; bytes the system has not taken yet are dropped.
    void Close();
    bool IsConnected() const;

    // How many connect attempts this socket has started: one per address tried, a new round included.
    OVELUND_FOR_TESTS std::uint64_t ConnectAttempts() const;
    // A test seam: makes the system give up on an unanswered connect attempt soon instead of after its own
    // limit, for sockets that connect from now on: after `milliseconds` (rounded up to its retry interval)
    // where it applies a time limit to a connect, else after its fewest retries, a few seconds. 0 restores
    // the system's limit.
    OVELUND_FOR_TESTS static void SetConnectAttemptLimit(unsigned milliseconds);

protected:
    // What subclasses do on the socket's events; the default raises the matching SocketCore event. Error
    // passes only the sender (its handler reads LastErrorCode). OnError(code) comes for a connection that
    // could not be made and for one that broke once made (a reset: kLostConnection); OnClosed for the peer's
    // orderly close, whose default raises Error with kLostConnection too. Data that arrived before either is
    // offered first, through OnDataAvailable.
    virtual void OnConnected();
    virtual void OnDataAvailable();
    virtual void OnError(std::int32_t code);
    virtual void OnClosed();

    // Connects to `host` (through HostResolver.h) at `port`, leaving Address and Port alone; Connect() is
    // ConnectTo(Address(), Port()). A port outside 1..65535 reports Error kInvalidPort, and a name that the
    // host map gives no address kNameResolutionFailed, both on the event loop.
    void ConnectTo(const String& host, std::int32_t port);
    // Runs `work` later on the event loop, as a toolkit event does; nothing runs when the socket is gone by
    // then.
    void Post(std::function<void()> work);

private:
    friend class TCPSocketNative;
    String address_;
    std::unique_ptr<TCPSocketNative> native_;
};

} // namespace Ovelund
