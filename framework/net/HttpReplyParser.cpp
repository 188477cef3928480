#include "framework/net/HttpReplyParser.h"

#include "framework/net/SocketErrors.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace Ovelund {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// All-digit text as a number no larger than `limit`; larger values come back as limit + 1, however many
// digits they have. Nothing when the text is empty or not all digits. `limit` stays far below SIZE_MAX / 10.
std::optional<std::size_t> ParseDigits(std::string_view text, std::size_t limit) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::size_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        if (value <= limit) {
            value = value * 10 + static_cast<std::size_t>(c - '0');
        }
    }
    return std::min(value, limit + 1);
}

std::int32_t ParseStatus(std::string_view line) {
    constexpr std::size_t kMaxStatus = 999;
    auto field = [&line]() {
        while (!line.empty() && IsBlank(line.front())) {
            line.remove_prefix(1);
        }
        auto end = std::ranges::find_if(line, IsBlank) - line.begin();
        std::string_view result = line.substr(0, static_cast<std::size_t>(end));
        line.remove_prefix(result.size());
        return result;
    };
    field();
    auto status = ParseDigits(field(), kMaxStatus);
    if (!status || *status > kMaxStatus) {
        return 0;
    }
    return static_cast<std::int32_t>(*status);
}

// The announced body length by the rule in HttpReplyParser.h; nothing when no Content-length counts.
std::optional<std::size_t> AnnouncedLength(const InternetHeaders& headers, std::size_t limit) {
    std::optional<std::size_t> length;
    for (std::int32_t i = 0; i < headers.Count(); ++i) {
        if (!HeaderNamesEqual(headers.Name(i), "Content-length")) {
            continue;
        }
        auto value = ParseDigits(Trimmed(headers.Value(i)), limit);
        if (!value || (length && *length != *value)) {
            return std::nullopt;
        }
        length = value;
    }
    return length;
}

} // namespace

HttpReplyParser::State HttpReplyParser::Feed(const char* data, std::size_t size) {
    if (state_ != State::NeedMore || data == nullptr || size == 0) {
        return state_;
    }
    std::size_t taken = inBody_ ? 0 : FeedHeader(data, size);
    if (state_ == State::NeedMore && inBody_) {
        FeedBody(data + taken, size - taken);
    }
    return state_;
}

HttpReplyParser::State HttpReplyParser::FinishOnClose() {
    if (state_ != State::NeedMore) {
        return state_;
    }
    const bool headerCut = !inBody_ && headerBytes_ > 0;
    const bool bodyCut = inBody_ && body_.size() < contentLength_;
    if (headerCut || bodyCut) {
        Fail(Failure::CutShort);
        return state_;
    }
    state_ = State::Complete;
    return state_;
}

std::int32_t HttpReplyParser::ErrorCode() const {
    switch (failure_) {
    case Failure::None:
        return 0;
    case Failure::CutShort:
        return SocketError::kLostConnection;
    case Failure::HeaderTooLarge:
    case Failure::BodyTooLarge:
        break;
    }
    return SocketError::kReplyTooLarge;
}

std::size_t HttpReplyParser::FeedHeader(const char* data, std::size_t size) {
    std::size_t i = 0;
    while (i < size && !inBody_) {
        if (++headerBytes_ > kMaxHeaderBlock) {
            Fail(Failure::HeaderTooLarge);
            return i;
        }
        char c = data[i++];
        if (c == '\n' && lastWasCr_) {
            lastWasCr_ = false; // the second half of a CR LF
            continue;
        }
        lastWasCr_ = c == '\r';
        if (c == '\r' || c == '\n') {
            EndLine();
        } else {
            line_ += c;
        }
    }
    return i;
}

void HttpReplyParser::FeedBody(const char* data, std::size_t size) {
    if (lastWasCr_ && size > 0) {
        // The header block ended with a CR; an LF right after it belongs to that line break.
        lastWasCr_ = false;
        if (data[0] == '\n') {
            ++data;
            --size;
        }
    }
    if (contentLength_ > 0) {
        std::size_t wanted = contentLength_ - body_.size();
        body_.append(data, std::min(wanted, size));
        if (body_.size() == contentLength_) {
            state_ = State::Complete;
        }
        return;
    }
    if (size > kMaxBody - body_.size()) {
        Fail(Failure::BodyTooLarge);
        return;
    }
    body_.append(data, size);
}

void HttpReplyParser::EndLine() {
    if (line_.empty()) {
        EndHeaderBlock();
        return;
    }
    std::string_view line = line_;
    if (!sawStatusLine_) {
        sawStatusLine_ = true;
        status_ = ParseStatus(line);
    } else if (!IsBlank(line.front())) {
        auto colon = line.find(':');
        if (colon != std::string_view::npos) {
            auto name = Trimmed(line.substr(0, colon));
            headers_.AppendHeader(String(name), String(Trimmed(line.substr(colon + 1))));
        }
    }
    line_.clear();
}

void HttpReplyParser::EndHeaderBlock() {
    inBody_ = true;
    sawStatusLine_ = true;
    line_ = String();
    auto length = AnnouncedLength(headers_, kMaxBody);
    if (length && *length > kMaxBody) {
        Fail(Failure::BodyTooLarge);
        return;
    }
    contentLength_ = length.value_or(0);
}

void HttpReplyParser::Fail(Failure failure) {
    state_ = State::Failed;
    failure_ = failure;
    line_ = String();
    body_ = String();
}

} // namespace Ovelund
