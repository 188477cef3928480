#pragma once
// Reads an HTTP reply as it arrives, in pieces of any size, and says when it is complete.
//
// Header block: the lines up to the first empty line. A line ends at CR LF, LF or a lone CR, mixed as the
// server likes; a CR LF split across two pieces is still one line break. Because of that, a header block
// ended by a lone CR followed by a body starting with LF loses that LF: the pair reads as one CR LF.
// - Status: the second field of the first line, fields separated by runs of blanks or tabs. It counts only
//   when it is all ASCII digits with a value up to 999; anything else (missing, "abc", "-200", "2000") gives
//   0. A reply whose very first line is empty has no status line: status 0, no headers.
// - Fields: "Name: value" with blanks and tabs trimmed around name and value. Lines without ":" or with an
//   empty name, and continuation lines (starting with a blank or tab), are dropped.
// - Content-length: counts only when every such field (any case) holds just ASCII digits and they all agree.
//   A sign, junk, an empty value or two that differ make it count as absent. One above kMaxBody (any number
//   of digits) fails the reply with BodyTooLarge as soon as the header block ends.
// Body: the bytes after the header block, kept exactly as received. With a Content-length above 0 the reply
// is complete once that many bytes are in; anything after them is ignored. Without one, or with 0, the reply
// is complete when the connection closes, holding the bytes read.
// Caps: the header block, counted up to the CR or LF that ends its empty line, may be at most
// kMaxHeaderBlock bytes, and the body at most kMaxBody bytes; past either the reply fails and drops its body.
// Close: FinishOnClose() ends a reply still waiting. Before any byte it is complete and empty: status 0, no
// headers, no body. With the header block complete and no Content-length above 0 it is complete, holding the
// body bytes read. A reply cut short fails with CutShort and drops its body: a close within the header block,
// or before the announced Content-length is in.
// Once complete or failed, further pieces and closes change nothing.

#include "framework/core/String.h"
#include "framework/net/InternetHeaders.h"

#include <cstddef>
#include <cstdint>

namespace Ovelund {

class HttpReplyParser {
public:
    enum class State { NeedMore, Complete, Failed };
    enum class Failure { None, HeaderTooLarge, BodyTooLarge, CutShort };

    static constexpr std::size_t kMaxHeaderBlock = std::size_t{64} * 1024;
    static constexpr std::size_t kMaxBody = std::size_t{1024} * 1024;

    State Feed(const char* data, std::size_t size);
    State FinishOnClose();

    State CurrentState() const { return state_; }
    std::int32_t Status() const { return status_; }
    const InternetHeaders& Headers() const { return headers_; }
    const String& Body() const { return body_; }
    Failure LastFailure() const { return failure_; }
    // The client's Error code for the failure: kReplyTooLarge for a bound broken, kLostConnection for a reply
    // cut short; 0 when there is none.
    std::int32_t ErrorCode() const;

private:
    // Reads header bytes from data[0..size) and returns how many it took.
    std::size_t FeedHeader(const char* data, std::size_t size);
    void FeedBody(const char* data, std::size_t size);
    void EndLine();
    void EndHeaderBlock();
    void Fail(Failure failure);

    State state_ = State::NeedMore;
    Failure failure_ = Failure::None;
    std::int32_t status_ = 0;
    InternetHeaders headers_;
    String body_;

    bool inBody_ = false;
    bool sawStatusLine_ = false;
    bool lastWasCr_ = false;
    std::size_t headerBytes_ = 0;
    String line_;
    // 0 when the reply ends on close.
    std::size_t contentLength_ = 0;
};

} // namespace Ovelund
