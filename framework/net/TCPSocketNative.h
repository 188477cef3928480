#pragma once
// The system's side of a TCPSocket (TCPSocket.h says what it does): one connection at a time, its descriptor
// and the event loop's watchers of it, the host's addresses and where the connect stands among them, and the
// bytes on their way in and out. It reports to its socket's On... methods, on the event loop alone. Every
// callback checks the connection's generation, so that nothing of an earlier connection reaches a later one.

#include "framework/core/String.h"
#include "framework/qt/DeferredPtr.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSocketNotifier>

#include <cstdint>
#include <functional>

namespace Ovelund {

class TCPSocket;

class TCPSocketNative {
public:
    explicit TCPSocketNative(TCPSocket& owner) : owner_(owner) {}
    ~TCPSocketNative() { Release(); }
    TCPSocketNative(const TCPSocketNative&) = delete;
    TCPSocketNative& operator=(const TCPSocketNative&) = delete;

    // Connects to `host`, an address or a name for the toolkit's lookup, at `port`; the outcome comes on the
    // event loop, never inside this call.
    void Start(const String& host, quint16 port);
    // Reports `code` as the connection's failure on the event loop, unless the connection is released first:
    // for a failure found before any connect is tried.
    void FailLater(std::int32_t code);
    // Ends the connection and forgets it: nothing of it reaches the socket afterwards. What the system takes
    // at once of a pending write still goes out.
    void Release();

    // Queues `bytes` and writes what the system takes now.
    void Write(const String& bytes);
    // Everything received and not taken yet.
    String TakeInput();
    bool IsConnected() const { return connected_ && !finished_ && descriptor_ >= 0; }
    std::uint64_t Attempts() const { return attempts_; }
    // The limit of one connect attempt for connections started from now on, in milliseconds; 0 leaves the
    // system's.
    static void SetAttemptLimit(unsigned milliseconds);

private:
    // Runs the socket's side of a callback.
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
    // The descriptor and its watchers go; the bytes read stay for TakeInput.
    void CloseDescriptor();
    // The connection ends with `code`: on the event loop when the call that started the connect still runs.
    void Fail(std::int32_t code);

    TCPSocket& owner_;
    std::uint64_t generation_ = 0;
    std::uint64_t attempts_ = 0;

    int descriptor_ = -1;
    DeferredPtr<QSocketNotifier> readWatcher_;
    DeferredPtr<QSocketNotifier> writeWatcher_;
    // The receiver of a name lookup.
    DeferredPtr<QObject> lookupReceiver_;
    int lookupId_ = -1;

    QList<QHostAddress> addresses_;
    qsizetype nextAddress_ = 0;
    quint16 port_ = 0;
    bool roundTimedOut_ = false; // an attempt of this round was given up by the system
    int lastError_ = 0;

    QByteArray input_;
    QByteArray output_;
    int writeError_ = 0;      // a write failed; the read side ends the connection with it
    bool connected_ = false;  // the connection was made
    bool finished_ = false;   // its end was reported, or is on its way
    bool connecting_ = false; // inside Start, which reports no outcome itself
};

} // namespace Ovelund
