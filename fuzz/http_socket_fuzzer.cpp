// The HTTP client against an in-process loopback peer that plays the input: the reply's bytes (the input's
// front) in pieces of any size with passes of the event loop between them, ended by an orderly close, a reset
// or nothing, as the input's back says. On the way the client may be closed, dropped or sent to a new request
// (mode 0), or its handler may drop it (mode 1) or start the next request (mode 2) when the reply is in.
// Each request ends in at most one event, none once it was abandoned, and that event is what HttpReplyParser
// makes of the bytes the peer wrote.

#include "framework/core/ClassRecord.h"
#include "framework/core/Delegate.h"
#include "framework/core/EventSource.h"
#include "framework/net/HTTPSocket.h"
#include "framework/net/HttpReplyParser.h"
#include "framework/net/SocketErrors.h"
#include "support/Checks.h"
#include "support/Script.h"
#include "support/SocketTarget.h"
#include "support/Toolkit.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace Ovelund;
using fuzz_support::End;
using fuzz_support::Require;
using fuzz_support::Step;

namespace {

const std::string kNextReply = "HTTP/1.0 200 OK\r\nContent-length: 2\r\n\r\nok";

struct Outcome {
    bool page = false;
    std::int32_t status = 0;
    InternetHeaders headers;
    String content;
    std::int32_t code = 0;
};

class Handlers : public Object {
public:
    void PageReceived(Ref<HTTPSocket> sender, String, std::int32_t status, Ref<InternetHeaders> headers,
                      String content) {
        Outcome outcome;
        outcome.page = true;
        outcome.status = status;
        outcome.headers = *headers;
        outcome.content = std::move(content);
        Note(std::move(outcome), sender);
    }
    void Error(Ref<HTTPSocket> sender, std::int32_t code) {
        Outcome outcome;
        outcome.code = code;
        Note(std::move(outcome), sender);
    }

    std::vector<Outcome> outcomes;
    // Runs once, in the first outcome's handler.
    std::function<void(const Ref<HTTPSocket>&)> onOutcome;

private:
    void Note(Outcome outcome, const Ref<HTTPSocket>& sender) {
        outcomes.push_back(std::move(outcome));
        if (onOutcome)
            std::exchange(onOutcome, nullptr)(sender);
    }
};

Ref<HTTPSocket> NewClient(const Ref<Handlers>& handlers) {
    auto client = std::make_shared<HTTPSocket>();
    client->Constructor();
    const auto page = RuntimeCreateDelegate(&Handlers::PageReceived, handlers,
                                            "( HTTPSocket, String, Int32, InternetHeaders, String )", true);
    const auto error = RuntimeCreateDelegate(&Handlers::Error, handlers, "( HTTPSocket, Int32 )", true);
    RuntimeAddEventHandler(*client, HTTPSocket::EventPageReceived, page);
    RuntimeAddEventHandler(*client, HTTPSocket::EventError, error);
    return client;
}

bool IsPage(const Outcome& outcome, const HttpReplyParser& reply) {
    return outcome.page && reply.CurrentState() == HttpReplyParser::State::Complete &&
           outcome.status == reply.Status() && outcome.content == reply.Body() &&
           fuzz_support::SameHeaders(outcome.headers, reply.Headers());
}

constexpr int kMostRequests = 4;

String Url() {
    return "http://127.0.0.1:" + std::to_string(fuzz_support::Peer().Port()) + "/files/page.xml";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::LoopbackPeer* peer = &fuzz_support::Peer();
    FuzzedDataProvider input(data, size);
    const int mode = input.ConsumeIntegralInRange(0, 2);

    auto handlers = std::make_shared<Handlers>();
    Ref<HTTPSocket> client = NewClient(handlers);
    const WeakRef<HTTPSocket> weakClient = client;
    bool nextRequested = false;
    if (mode == 1) {
        handlers->onOutcome = [&](const Ref<HTTPSocket>&) {
            client.reset();
        };
    } else if (mode == 2) {
        handlers->onOutcome = [&](const Ref<HTTPSocket>& sender) {
            nextRequested = true;
            sender->Get(Url() + "?next");
        };
    }

    // The request whose outcome is awaited, none once it is abandoned: its outcome is the first one at or
    // after `first`. An abandoned request's outcomes end before `first`.
    bool tracked = true;
    std::size_t first = 0;
    int connection = peer->Accepted() + 1;
    std::string sent; // on the tracked request's connection
    client->Get(Url());
    peer->PumpUntil([&] { return peer->Accepted() >= connection; }, "the client's connection never came");

    int requests = 1;
    fuzz_support::Script script(input);
    End end = End::None;
    while (end == End::None && script.More()) {
        const Step step = script.Next();
        switch (step) {
        case Step::Write: {
            const std::string piece = script.Piece();
            if (peer->Accepted() == connection && peer->Write(piece))
                sent += piece;
            break;
        }
        case Step::Pump:
            peer->Pump(script.Passes());
            break;
        case Step::CloseClient:
        case Step::DropClient:
            if (mode == 0 && client) {
                if (step == Step::CloseClient)
                    client->Close();
                else
                    client.reset();
                tracked = false;
                first = handlers->outcomes.size();
            }
            break;
        case Step::ConnectAgain:
            // A few requests are enough for any order of events; many would only slow the run.
            if (mode == 0 && client && ++requests <= kMostRequests) {
                // A new request abandons the one before; its connection is the peer's next.
                client->Get(Url());
                tracked = true;
                first = handlers->outcomes.size();
                connection = peer->Accepted() + 1;
                sent.clear();
                peer->PumpUntil([&] { return peer->Accepted() >= connection; },
                                "the new request's connection never came");
            }
            break;
        case Step::End:
            end = script.Ending();
            break;
        }
        Require(handlers->outcomes.size() <= first + (tracked ? 1 : 0), "an event for an abandoned request");
    }
    if (end == End::None)
        end = End::Close;

    HttpReplyParser reply;
    reply.Feed(sent.data(), sent.size());
    const bool onItsOwn = reply.CurrentState() != HttpReplyParser::State::NeedMore;
    const bool current = peer->Accepted() == connection;
    auto outcomeIn = [&] {
        return handlers->outcomes.size() > first;
    };
    if (end == End::Close && current) {
        peer->Close();
        reply.FinishOnClose();
    } else if (end == End::Reset && current) {
        peer->Reset();
    }

    if (tracked && (end != End::Open || onItsOwn)) {
        peer->PumpUntil(outcomeIn, "a request ended without an event");
        const Outcome& outcome = handlers->outcomes[first];
        if (end == End::Reset && outcome.page) {
            Require(IsPage(outcome, reply), "the page is not the reply the peer wrote");
        } else if (end == End::Reset) {
            // A reset before the reply was complete is a lost connection; so is one that comes before the
            // client has seen its connection made, whatever was written.
            Require(outcome.code == SocketError::kLostConnection ||
                        (onItsOwn && outcome.code == reply.ErrorCode()),
                    "a reset's error");
        } else if (reply.CurrentState() == HttpReplyParser::State::Complete) {
            Require(IsPage(outcome, reply), "the page is not the reply the peer wrote");
        } else {
            Require(!outcome.page && outcome.code == reply.ErrorCode(),
                    "the error is not the reply's failure");
        }
    }
    peer->Pump(4);
    Require(handlers->outcomes.size() <= first + (tracked ? 1 : 0), "a second event for one request");
    if (tracked && end == End::Open && !onItsOwn)
        Require(handlers->outcomes.size() == first, "an event for a reply still coming");
    if (mode == 1 && !handlers->outcomes.empty())
        Require(weakClient.expired(), "a client its handler dropped stayed alive");

    if (nextRequested && client) {
        // The handler's request is the peer's next connection.
        const std::size_t before = handlers->outcomes.size();
        peer->PumpUntil([&] { return peer->Accepted() > connection; },
                        "the next request's connection never came");
        Require(peer->Write(kNextReply), "the next request's connection took no reply");
        peer->PumpUntil([&] { return handlers->outcomes.size() > before; },
                        "the next request ended without an event");
        const Outcome& outcome = handlers->outcomes[before];
        Require(outcome.page && outcome.status == 200 && outcome.content == "ok", "the next request's page");
    }

    client.reset();
    peer->Clear();
    const std::size_t outcomes = handlers->outcomes.size();
    fuzz_support::FinishInput();
    Require(handlers->outcomes.size() == outcomes, "an event after the client was dropped");
    Require(weakClient.expired(), "the client outlived its last reference");
    return 0;
}
