// HttpReplyParser on arbitrary bytes, fed in arbitrary pieces. The reply is the input's front; its back says
// where the pieces are cut and whether the connection closes at the end. What the parser makes of the
// pieces is what it makes of the whole in one piece and of the bytes one by one; its bounds hold; and once
// complete or failed it changes no more.

#include "framework/net/HttpReplyParser.h"
#include "framework/net/SocketErrors.h"
#include "support/Checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using fuzz_support::Require;
using Ovelund::HttpReplyParser;

namespace {

bool SameReply(const HttpReplyParser& a, const HttpReplyParser& b) {
    return a.CurrentState() == b.CurrentState() && a.LastFailure() == b.LastFailure() &&
           a.Status() == b.Status() && a.Body() == b.Body() &&
           fuzz_support::SameHeaders(a.Headers(), b.Headers());
}

void CheckBounds(const HttpReplyParser& parser) {
    Require(parser.Status() >= 0 && parser.Status() <= 999, "a status outside 0..999");
    Require(parser.Body().size() <= HttpReplyParser::kMaxBody, "a body over the cap");
    switch (parser.CurrentState()) {
    case HttpReplyParser::State::Failed:
        Require(parser.LastFailure() != HttpReplyParser::Failure::None, "failed without a failure");
        Require(parser.Body().empty(), "a failed reply kept its body");
        Require(parser.ErrorCode() == (parser.LastFailure() == HttpReplyParser::Failure::CutShort
                                           ? Ovelund::SocketError::kLostConnection
                                           : Ovelund::SocketError::kReplyTooLarge),
                "a failure's error code");
        break;
    case HttpReplyParser::State::NeedMore:
    case HttpReplyParser::State::Complete:
        Require(parser.LastFailure() == HttpReplyParser::Failure::None, "a failure without the failed state");
        Require(parser.ErrorCode() == 0, "an error code without a failure");
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool closes = input.ConsumeBool();
    std::vector<std::size_t> cuts(input.ConsumeIntegralInRange<std::size_t>(0, 16));
    for (std::size_t& cut : cuts)
        cut = input.ConsumeIntegralInRange<std::size_t>(0, 1 << 16);
    const std::string reply = input.ConsumeRemainingBytesAsString();

    HttpReplyParser whole;
    whole.Feed(reply.data(), reply.size());

    // Pieces end at each cut in turn, the last one at the end of the reply; a cut of 0 is an empty piece.
    HttpReplyParser pieces;
    std::size_t at = 0;
    for (std::size_t cut : cuts) {
        const std::size_t length = std::min(cut, reply.size() - at);
        const HttpReplyParser::State before = pieces.CurrentState();
        const std::string body = pieces.Body();
        const HttpReplyParser::State state = pieces.Feed(reply.data() + at, length);
        Require(state == pieces.CurrentState(), "Feed returned another state than it keeps");
        if (before != HttpReplyParser::State::NeedMore)
            Require(state == before && pieces.Body() == body, "a finished reply changed");
        CheckBounds(pieces);
        at += length;
    }
    pieces.Feed(reply.data() + at, reply.size() - at);

    HttpReplyParser bytewise;
    for (char c : reply)
        bytewise.Feed(&c, 1);

    CheckBounds(whole);
    Require(SameReply(whole, pieces), "pieces read otherwise than the whole");
    Require(SameReply(whole, bytewise), "single bytes read otherwise than the whole");

    if (closes) {
        const HttpReplyParser::State before = whole.CurrentState();
        const HttpReplyParser::State state = whole.FinishOnClose();
        pieces.FinishOnClose();
        Require(state != HttpReplyParser::State::NeedMore, "a close left the reply waiting");
        if (before != HttpReplyParser::State::NeedMore)
            Require(state == before, "a close changed a finished reply");
        if (reply.empty())
            Require(state == HttpReplyParser::State::Complete && whole.Status() == 0 &&
                        whole.Headers().Count() == 0 && whole.Body().empty(),
                    "a close before any byte is not the empty page");
        CheckBounds(whole);
        Require(SameReply(whole, pieces), "pieces read otherwise than the whole at the close");
    }

    // Bytes after the end change nothing.
    if (whole.CurrentState() != HttpReplyParser::State::NeedMore) {
        HttpReplyParser copy = whole;
        copy.Feed(reply.data(), reply.size());
        Require(SameReply(whole, copy), "bytes after the end changed the reply");
    }
    return 0;
}
