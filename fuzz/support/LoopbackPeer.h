#pragma once
// The peer of a socket under test, in the same process: a listener on loopback and the connection it accepted
// last, driven with the system's own calls between passes of the event loop. It reads whatever the client
// sends as it comes, so that its orderly close is a close and never a reset.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace fuzz_support {

class LoopbackPeer {
public:
    // Listens at a free port of 127.0.0.1.
    LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;
    ~LoopbackPeer();
    std::uint16_t Port() const { return port_; }

    // One pass of the event loop, then a connection waiting for the listener becomes the current one (the one
    // before is closed) and what the client sent on it is read.
    void Pump();
    void Pump(int passes) {
        for (; passes > 0; --passes)
            Pump();
    }
    // Pump until `done` holds; the run ends when it does not within the limit (Toolkit.h).
    void PumpUntil(const std::function<bool()>& done, const char* what);

    // Connections accepted so far.
    int Accepted() const { return accepted_; }
    bool HasConnection() const { return connection_ >= 0; }
    // What the client sent on the current connection (on the last one, once it is closed), and whether the
    // client has ended it.
    const std::string& Received() const { return received_; }
    bool ClientEnded() const { return clientEnded_; }

    // Writes `bytes` on the current connection, with passes of the event loop while the system takes no
    // more; false when the connection takes no more of it (the client is gone, or a new connection came).
    bool Write(std::string_view bytes);
    // Ends the current connection in order and waits until the client has ended it too, reading what it sends
    // until then.
    void Close();
    // Ends it with a reset.
    void Reset();
    // Closes every connection, the current one and any not yet accepted, and forgets what was received.
    void Clear();

private:
    void ReadAvailable();
    void Drop();

    int listener_ = -1;
    std::uint16_t port_ = 0;
    int connection_ = -1;
    int accepted_ = 0;
    std::string received_;
    bool clientEnded_ = false;
};

} // namespace fuzz_support
