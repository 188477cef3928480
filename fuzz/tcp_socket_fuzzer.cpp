// The plain socket against an in-process loopback peer that plays the input: bytes (the input's front) in
// pieces of any size with passes of the event loop between them, ended by an orderly close, a reset or
// nothing, as the input's back says. The socket writes a request of any length once connected, and the
// script or the socket's own handler, at any of its events, may close it, drop it or connect it again. Each
// connection raises Connected, then DataAvailable as bytes come, then at most one Error, last; the socket
// reads what the peer wrote and the peer what the socket wrote; nothing comes of a connection once it was
// closed or dropped.

#include "framework/core/ClassRecord.h"
#include "framework/core/Delegate.h"
#include "framework/core/EventSource.h"
#include "framework/net/SocketErrors.h"
#include "framework/net/TCPSocket.h"
#include "support/Checks.h"
#include "support/Script.h"
#include "support/SocketTarget.h"
#include "support/Toolkit.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Ovelund;
using fuzz_support::End;
using fuzz_support::Require;
using fuzz_support::Step;

namespace {

enum class Event { Connected, DataAvailable, Error };

struct Connection {
    std::vector<Event> events;
    String data;
    std::vector<std::int32_t> errors;
    bool abandoned = false;
    // Dropped by the handler of bytes that came with the connection's end: the socket still reports that
    // end, from the same pass of the event loop, before it goes. A socket closed reports nothing more.
    bool endMayFollow = false;
};

class Handlers : public Object {
public:
    void Connected(Ref<TCPSocket> sender) {
        Current(Event::Connected).events.push_back(Event::Connected);
        if (!request.empty())
            sender->Write(request);
        Acted(sender, Event::Connected);
    }
    void DataAvailable(Ref<TCPSocket> sender) {
        Connection& connection = Current(Event::DataAvailable);
        connection.events.push_back(Event::DataAvailable);
        connection.data += sender->ReadAll();
        Acted(sender, Event::DataAvailable);
    }
    void Error(Ref<TCPSocket> sender) {
        Connection& connection = Current(Event::Error);
        connection.events.push_back(Event::Error);
        connection.errors.push_back(sender->LastErrorCode());
        Acted(sender, Event::Error);
    }

    std::size_t Events() const { return events_; }

    // Connections stay where they are as new ones come.
    std::deque<Connection> connections{1};
    String request;
    // Runs once, in the handler of the event with this number (1 for the first).
    std::size_t actAt = 0;
    std::function<void(const Ref<TCPSocket>&, Event)> act;

private:
    Connection& Current(Event event) {
        Connection& connection = connections.back();
        if (connection.abandoned && connection.endMayFollow && event == Event::Error)
            connection.endMayFollow = false;
        else
            Require(!connection.abandoned, "an event of a connection closed or dropped");
        return connection;
    }
    void Acted(const Ref<TCPSocket>& sender, Event event) {
        if (++events_ == actAt && act)
            std::exchange(act, nullptr)(sender, event);
    }

    std::size_t events_ = 0;
};

Ref<TCPSocket> NewSocket(const Ref<Handlers>& handlers, std::uint16_t port) {
    auto socket = std::make_shared<TCPSocket>();
    using Handler = void (Handlers::*)(Ref<TCPSocket>);
    for (auto [event, handler] : {std::pair<int, Handler>{SocketCore::EventConnected, &Handlers::Connected},
                                  {SocketCore::EventDataAvailable, &Handlers::DataAvailable},
                                  {SocketCore::EventError, &Handlers::Error}})
        RuntimeAddEventHandler(*socket, event,
                               RuntimeCreateDelegate(handler, handlers, "( TCPSocket )", true));
    socket->SetAddress("127.0.0.1");
    socket->SetPort(port);
    return socket;
}

bool StartsWith(const String& text, const String& start) {
    return text.compare(0, start.size(), start) == 0;
}

// Connected, DataAvailable as often as bytes came, then at most one Error, last; or a lone Error where
// `resetEarly` allows it, for a reset that came before the socket saw its connection made.
bool InOrder(const std::vector<Event>& events, bool resetEarly) {
    if (events.empty())
        return true;
    if (events.front() != Event::Connected)
        return resetEarly && events.size() == 1 && events.front() == Event::Error;
    for (std::size_t i = 1; i < events.size(); ++i)
        if (events[i] == Event::Connected || (events[i] == Event::Error && i + 1 != events.size()))
            return false;
    return true;
}

constexpr std::size_t kMostConnections = 4;

enum class Act { Close, Drop, ConnectAgain };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::LoopbackPeer* peer = &fuzz_support::Peer();
    FuzzedDataProvider input(data, size);
    auto handlers = std::make_shared<Handlers>();
    handlers->request.resize(input.ConsumeIntegralInRange<std::size_t>(0, 1 << 16));
    for (std::size_t i = 0; i < handlers->request.size(); ++i)
        handlers->request[i] = static_cast<char>(i * 31 % 251);
    Ref<TCPSocket> client = NewSocket(handlers, peer->Port());
    const WeakRef<TCPSocket> weakClient = client;

    // The client's connections and the peer's match one to one from `base` on.
    const int base = peer->Accepted();
    auto peerIsCurrent = [&] {
        return peer->Accepted() == base + static_cast<int>(handlers->connections.size());
    };
    std::string written; // by the peer, on the client's current connection
    int writtenOn = 0;
    auto act = [&](Act what, TCPSocket* socket) {
        if (!socket)
            return;
        handlers->connections.back().abandoned = true;
        if (what == Act::Drop) {
            client.reset();
            return;
        }
        socket->Close();
        if (what == Act::ConnectAgain) {
            handlers->connections.emplace_back();
            socket->Connect();
        }
    };
    handlers->actAt = input.ConsumeIntegralInRange<std::size_t>(0, 8);
    const auto inHandler = static_cast<Act>(input.ConsumeIntegralInRange(0, 2));
    handlers->act = [&](const Ref<TCPSocket>& sender, Event event) {
        act(inHandler, sender.get());
        handlers->connections.back().endMayFollow = inHandler == Act::Drop && event == Event::DataAvailable;
    };

    client->Connect();
    fuzz_support::Script script(input);
    End end = End::None;
    while (end == End::None && script.More()) {
        const Step step = script.Next();
        switch (step) {
        case Step::Pump:
            peer->Pump(script.Passes());
            break;
        case Step::Write: {
            const std::string piece = script.Piece();
            peer->Pump();
            if (!peerIsCurrent())
                break;
            if (writtenOn != peer->Accepted()) {
                written.clear();
                writtenOn = peer->Accepted();
            }
            if (peer->Write(piece))
                written += piece;
            break;
        }
        case Step::CloseClient:
        case Step::DropClient:
        case Step::ConnectAgain:
            // A few connections are enough for any order of events; many would only slow the run.
            if (step == Step::ConnectAgain && handlers->connections.size() >= kMostConnections)
                break;
            act(step == Step::CloseClient  ? Act::Close
                : step == Step::DropClient ? Act::Drop
                                           : Act::ConnectAgain,
                client.get());
            // The peer takes a new connection at once, so that its connections stay in the client's order.
            peer->Pump();
            break;
        case Step::End:
            end = script.Ending();
            break;
        }
    }
    if (end == End::None)
        end = End::Close;

    // The end is for the client's current connection, once the peer has it too; a handler may still connect
    // again on the way, which abandons it.
    if (client)
        peer->PumpUntil(peerIsCurrent, "the socket's connection never came");
    if (writtenOn != peer->Accepted())
        written.clear();
    Connection& last = handlers->connections.back();
    const int lastOnPeer = peer->Accepted();
    const bool open =
        client && !last.abandoned && (last.events.empty() || last.events.back() != Event::Error);
    auto ended = [&] {
        return last.abandoned || (!last.events.empty() && last.events.back() == Event::Error);
    };
    const Connection* reset = nullptr;
    if (open && end == End::Close) {
        peer->PumpUntil([&] { return peer->Received().size() == handlers->request.size() || last.abandoned; },
                        "the peer never got what the socket wrote");
        if (peer->Accepted() == lastOnPeer)
            peer->Close();
        peer->PumpUntil(ended, "the peer's close raised no Error");
        if (!last.abandoned) {
            Require(last.data == written, "the socket read otherwise than the peer wrote");
            Require(peer->Received() == handlers->request, "the peer read otherwise than the socket wrote");
            Require(last.errors == std::vector<std::int32_t>{SocketError::kLostConnection},
                    "the peer's close is no lost connection");
        }
    } else if (open && end == End::Reset) {
        peer->Reset();
        reset = &last;
        peer->PumpUntil(ended, "the peer's reset raised no Error");
        if (!last.abandoned) {
            Require(StartsWith(written, last.data), "the socket read what the peer never wrote");
            Require(last.errors == std::vector<std::int32_t>{SocketError::kLostConnection},
                    "a reset is no lost connection");
        }
    }
    peer->Pump(4);
    for (const Connection& connection : handlers->connections) {
        Require(InOrder(connection.events, &connection == reset), "a connection's events out of order");
        Require(connection.errors.size() <= 1, "two errors for one connection");
    }
    if (open && end == End::Open && !last.abandoned) {
        Require(StartsWith(written, last.data), "the socket read what the peer never wrote");
        Require(last.errors.empty(), "an error on a connection that stays open");
    }

    client.reset();
    peer->Clear();
    const std::size_t events = handlers->Events();
    fuzz_support::FinishInput();
    Require(handlers->Events() == events, "an event after the socket was dropped");
    Require(weakClient.expired(), "the socket outlived its last reference");
    return 0;
}
