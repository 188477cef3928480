// The HTTP client's protocol core: URL split, request bytes, header fields and the incremental reply parser.

#include "framework/net/HttpReplyParser.h"
#include "framework/net/HttpRequest.h"
#include "framework/net/HttpUrl.h"
#include "framework/net/InternetHeaders.h"
#include "framework/net/SocketErrors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace Ovelund {
namespace {

using State = HttpReplyParser::State;
using Failure = HttpReplyParser::Failure;

// ---- URL split ----

struct UrlCase {
    const char* url;
    std::int32_t clientPort;
    HttpProxy proxy;
    const char* address;
    std::int32_t port;
    const char* host;
    const char* target;
};

void PrintTo(const UrlCase& c, std::ostream* out) {
    *out << testing::PrintToString(std::string(c.url));
}

class UrlSplit : public testing::TestWithParam<UrlCase> {};

TEST_P(UrlSplit, GivesConnectionHostAndTarget) {
    const UrlCase& c = GetParam();
    HttpUrl url = HttpUrl::Split(c.url, c.clientPort, c.proxy);
    ASSERT_TRUE(url.IsValid()) << c.url << " error " << url.error;
    EXPECT_EQ(url.address, c.address);
    EXPECT_EQ(url.port, c.port);
    EXPECT_EQ(url.host, c.host);
    EXPECT_EQ(url.target, c.target);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlSplit,
    testing::Values(
        UrlCase{"http://host/files/page.xml", 0, {}, "host", 80, "host", "/files/page.xml"},
        UrlCase{"http://host:8080/x", 0, {}, "host", 8080, "host:8080", "/x"},
        UrlCase{"http://host", 0, {}, "host", 80, "host", "/"},
        UrlCase{"http://host:8080", 0, {}, "host", 8080, "host:8080", "/"},
        UrlCase{"host:8080/x", 0, {}, "host", 8080, "host:8080", "/x"},
        UrlCase{"host", 0, {}, "host", 80, "host", "/"},
        UrlCase{"http://host/x", 8000, {}, "host", 8000, "host", "/x"},
        UrlCase{"http://host:81/x", 8000, {}, "host", 81, "host:81", "/x"},
        UrlCase{"http://host:/x", 0, {}, "host", 80, "host:", "/x"},
        UrlCase{"http://host:08080/x", 0, {}, "host", 8080, "host:08080", "/x"},
        UrlCase{"http://host:65535/x", 0, {}, "host", 65535, "host:65535", "/x"},
        UrlCase{"http://host/a?u=ftp://b/c", 0, {}, "host", 80, "host", "/a?u=ftp://b/c"},
        UrlCase{"http://10.0.0.1:8080/x", 0, {}, "10.0.0.1", 8080, "10.0.0.1:8080", "/x"},
        UrlCase{"http://host:8080/x", 0, {"proxy", 3128}, "proxy", 3128, "host:8080", "http://host:8080/x"},
        UrlCase{"http://host/x", 8000, {"proxy", 0}, "proxy", 80, "host", "http://host/x"},
        UrlCase{"host/x", 0, {"proxy", 3128}, "proxy", 3128, "host", "host/x"}));

struct BadUrlCase {
    std::string url;
    std::int32_t clientPort;
    HttpProxy proxy;
    std::int32_t error;
};

void PrintTo(const BadUrlCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.url);
}

class BadUrlSplit : public testing::TestWithParam<BadUrlCase> {};

TEST_P(BadUrlSplit, ReportsTheError) {
    const BadUrlCase& c = GetParam();
    HttpUrl url = HttpUrl::Split(c.url, c.clientPort, c.proxy);
    EXPECT_FALSE(url.IsValid());
    EXPECT_EQ(url.error, c.error) << c.url;
    EXPECT_EQ(url.address, "");
    EXPECT_EQ(url.port, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadUrlSplit,
    testing::Values(BadUrlCase{"http://host:abc/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host:80x/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host:0/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host:65536/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host:-1/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host:+80/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host:99999999999999999999999/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host:80:81/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://user:pw@host/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://[::1]:8080/x", 0, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host/x", -1, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host/x", 65536, {}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host/x", 0, {"proxy", 70000}, SocketError::kInvalidPort},
                    BadUrlCase{"http://host/x", 0, {"proxy", -5}, SocketError::kInvalidPort},
                    BadUrlCase{"", 0, {}, SocketError::kInvalidUrl},
                    BadUrlCase{"http://", 0, {}, SocketError::kInvalidUrl},
                    BadUrlCase{"http:///x", 0, {}, SocketError::kInvalidUrl},
                    BadUrlCase{"http://:8080/x", 0, {}, SocketError::kInvalidUrl},
                    BadUrlCase{"http://host/a b", 0, {}, SocketError::kInvalidUrl},
                    BadUrlCase{"http://host/x HTTP/1.0\r\nEvil: 1\r\n", 0, {}, SocketError::kInvalidUrl},
                    BadUrlCase{"http://host/x\n", 0, {"proxy", 3128}, SocketError::kInvalidUrl},
                    BadUrlCase{std::string("http://host/\0x", 14), 0, {}, SocketError::kInvalidUrl},
                    BadUrlCase{"http://host/\x7f", 0, {}, SocketError::kInvalidUrl}));

// ---- Request bytes ----

TEST(HttpRequest, AGetWithoutBodyWritesTheRequestLineAndThreeHeaders) {
    InternetHeaders headers = ClientDefaultHeaders();
    HttpUrl url = HttpUrl::Split("http://site.example/files/page.xml", 0);
    EXPECT_EQ(RequestBytes(url, headers), "GET /files/page.xml HTTP/1.0\r\n"
                                          "Accept: */*\r\n"
                                          "Accept-Language: en\r\n"
                                          "Host: site.example\r\n"
                                          "\r\n");
    // The client's headers keep what was sent.
    EXPECT_EQ(headers.Value("Host"), "site.example");
    EXPECT_EQ(headers.Value("Content-length"), "");
}

TEST(HttpRequest, HostIsTheServerPartAndProxyGetsTheWholeUrl) {
    InternetHeaders direct = ClientDefaultHeaders();
    EXPECT_EQ(RequestBytes(HttpUrl::Split("http://host:8080/x", 0), direct),
              "GET /x HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: host:8080\r\n\r\n");

    InternetHeaders proxied = ClientDefaultHeaders();
    EXPECT_EQ(
        RequestBytes(HttpUrl::Split("http://host:8080/x", 0, {"proxy", 3128}), proxied),
        "GET http://host:8080/x HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: host:8080\r\n\r\n");
}

TEST(HttpRequest, ProgramHeadersAreWrittenWithoutBodyFieldsOrLineBreaks) {
    InternetHeaders headers = ClientDefaultHeaders();
    headers.SetHeader("Content-Type", "text/plain");
    headers.SetHeader("X-Note", "a\r\nEvil: 1");
    headers.SetHeader("Host", "old");
    headers.SetHeader("X\nInjected", "b");
    headers.SetHeader("\r\n", "dropped");
    EXPECT_EQ(RequestBytes(HttpUrl::Split("host/", 0), headers), "GET / HTTP/1.0\r\n"
                                                                 "Accept: */*\r\n"
                                                                 "Accept-Language: en\r\n"
                                                                 "X-Note: aEvil: 1\r\n"
                                                                 "Host: host\r\n"
                                                                 "XInjected: b\r\n"
                                                                 "\r\n");
}

TEST(HttpRequest, InvalidUrlGivesNoBytes) {
    InternetHeaders headers = ClientDefaultHeaders();
    EXPECT_EQ(RequestBytes(HttpUrl::Split("http://host:0/", 0), headers), "");
    EXPECT_EQ(headers.Value("Content-length"), "0");
}

// ---- Header fields ----

TEST(InternetHeaders, LooksUpNamesWithoutCaseAndKeepsOrder) {
    InternetHeaders h;
    h.AppendHeader("Set-Cookie", "a=1");
    h.AppendHeader("Content-Type", "text/xml");
    h.AppendHeader("set-cookie", "b=2");
    ASSERT_EQ(h.Count(), 3);
    EXPECT_EQ(h.Name(2), "set-cookie");
    EXPECT_EQ(h.Value("CONTENT-TYPE"), "text/xml");
    EXPECT_EQ(h.Value("Set-Cookie", 0), "a=1");
    EXPECT_EQ(h.Value("Set-Cookie", 1), "b=2");
    EXPECT_EQ(h.Value("Set-Cookie", 2), "");
    EXPECT_EQ(h.Value("Set-Cookie", -1), "");
    EXPECT_EQ(h.Value("Missing"), "");
    EXPECT_EQ(h.Name(3), "");
    EXPECT_EQ(h.Value(-1), "");
    EXPECT_EQ(h.Value(1), "text/xml");
}

TEST(InternetHeaders, SetReplacesInPlaceAndDeleteRemovesAll) {
    InternetHeaders h;
    h.AppendHeader("A", "1");
    h.AppendHeader("B", "2");
    h.AppendHeader("a", "3");
    h.SetHeader("A", "x");
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(h.Name(0), "A");
    EXPECT_EQ(h.Value(0), "x");
    EXPECT_EQ(h.Name(1), "B");
    h.SetHeader("C", "4");
    EXPECT_EQ(h.Name(2), "C");
    h.AppendHeader("c", "5");
    h.DeleteHeader("c");
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(h.Value("C"), "");
}

// ---- Reply parser ----

struct Reply {
    State state = State::NeedMore;
    std::int32_t status = 0;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    Failure failure = Failure::None;
    bool operator==(const Reply&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Reply& r) {
    out << "state " << static_cast<int>(r.state) << " status " << r.status << " failure "
        << static_cast<int>(r.failure) << " body size " << r.body.size() << " headers";
    for (const auto& [name, value] : r.headers) {
        out << " [" << name << ": " << value << "]";
    }
    return out;
}

Reply Snapshot(const HttpReplyParser& p) {
    Reply r{p.CurrentState(), p.Status(), {}, p.Body(), p.LastFailure()};
    for (std::int32_t i = 0; i < p.Headers().Count(); ++i) {
        r.headers.emplace_back(p.Headers().Name(i), p.Headers().Value(i));
    }
    return r;
}

// Feeds `bytes` cut at the given ascending offsets; closes afterwards when `close`.
Reply Parse(const std::string& bytes, const std::vector<std::size_t>& cuts = {}, bool close = false) {
    HttpReplyParser p;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        p.Feed(bytes.data() + from, cut - from);
        from = cut;
    }
    p.Feed(bytes.data() + from, bytes.size() - from);
    if (close) {
        p.FinishOnClose();
    }
    return Snapshot(p);
}

std::string WithBreaks(const std::vector<std::string>& lines, const std::string& lineBreak,
                       const std::string& body) {
    std::string out;
    for (const auto& line : lines) {
        out += line + lineBreak;
    }
    return out + lineBreak + body;
}

const std::vector<std::string> kSampleLines = {"HTTP/1.0 200 OK", "Content-Type: text/xml",
                                               "Content-length: 11", "X-Empty:"};
const Reply kSampleReply{State::Complete,
                         200,
                         {{"Content-Type", "text/xml"}, {"Content-length", "11"}, {"X-Empty", ""}},
                         "\n<a>\r\n</a>\r",
                         Failure::None};

class LineBreakStyle : public testing::TestWithParam<const char*> {};

TEST_P(LineBreakStyle, CompletesAtAnnouncedLengthForEverySplit) {
    // The body starts with LF and holds CR LF, so a misread line break shows in it.
    const std::string bytes = WithBreaks(kSampleLines, GetParam(), kSampleReply.body);
    EXPECT_EQ(Parse(bytes), kSampleReply);

    std::vector<std::size_t> everyByte;
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        everyByte.push_back(i);
    }
    EXPECT_EQ(Parse(bytes, everyByte), kSampleReply);

    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        for (std::size_t j = i; j <= bytes.size(); ++j) {
            ASSERT_EQ(Parse(bytes, {i, j}), kSampleReply) << "cut at " << i << " and " << j;
        }
    }
}

// A lone CR is left out: its header block end followed by a body starting with LF reads as CR LF.
INSTANTIATE_TEST_SUITE_P(Styles, LineBreakStyle, testing::Values("\r\n", "\n"));

TEST(HttpReplyParser, LoneCrAndMixedLineBreaks) {
    const Reply expected{State::Complete, 200, {{"A", "1"}, {"B", "2"}, {"C", "3"}}, "body", Failure::None};
    const std::vector<std::string> replies = {
        "HTTP/1.0 200 OK\rA: 1\rB: 2\rC: 3\r\rbody", "HTTP/1.0 200 OK\r\nA: 1\nB: 2\rC: 3\n\r\nbody",
        "HTTP/1.0 200 OK\nA: 1\r\nB: 2\r\nC: 3\r\r\nbody", "HTTP/1.0 200 OK\rA: 1\nB: 2\r\nC: 3\n\nbody",
        "HTTP/1.0 200 OK\rA: 1\r\nB: 2\nC: 3\r\n\nbody"};
    for (const auto& reply : replies) {
        for (std::size_t i = 0; i <= reply.size(); ++i) {
            ASSERT_EQ(Parse(reply, {i}, true), expected) << testing::PrintToString(reply) << " cut at " << i;
        }
    }
}

TEST(HttpReplyParser, RandomSplitsOfRandomLineBreaks) {
    std::mt19937 random(20240611);
    const char* breaks[] = {"\r\n", "\n", "\r"};
    for (int round = 0; round < 300; ++round) {
        std::string bytes = "HTTP/1.0 301 Moved";
        Reply expected{State::Complete, 301, {}, {}, Failure::None};
        int fieldCount = static_cast<int>(random() % 20);
        for (int f = 0; f < fieldCount; ++f) {
            std::string name = "X-F" + std::to_string(f);
            std::string value(random() % 40, static_cast<char>('a' + f));
            bytes += breaks[random() % 3] + name + ": " + value;
            expected.headers.emplace_back(name, value);
        }
        // A body after a lone CR must not start with LF; "\r\n" and "\n" ends are safe either way.
        std::string end = std::string(breaks[random() % 2]) + breaks[random() % 3];
        std::string body;
        for (std::size_t n = random() % 3000; n > 0; --n) {
            body += static_cast<char>(random() % 256);
        }
        if (end.back() == '\r' && !body.empty() && body.front() == '\n') {
            body.front() = 'x';
        }
        bytes += "\r\nContent-length: " + std::to_string(body.size()) + end + body + "trailing junk";
        expected.headers.emplace_back("Content-length", std::to_string(body.size()));
        expected.body = body;
        if (body.empty()) {
            expected.body = "trailing junk"; // Content-length 0: read to close
        }

        std::vector<std::size_t> cuts;
        for (std::size_t at = 0; at < bytes.size(); at += 1 + random() % 64) {
            cuts.push_back(at);
        }
        ASSERT_EQ(Parse(bytes, cuts, true), expected) << "round " << round;
    }
}

TEST(HttpReplyParser, BodyIsExactlyTheAnnouncedBytes) {
    HttpReplyParser p;
    const std::string head = "HTTP/1.0 200 OK\r\nContent-length: 4\r\n\r\n";
    EXPECT_EQ(p.Feed(head.data(), head.size()), State::NeedMore);
    EXPECT_EQ(p.Feed("ab", 2), State::NeedMore);
    EXPECT_EQ(p.Feed("cdEXTRA", 7), State::Complete);
    EXPECT_EQ(p.Feed("more", 4), State::Complete);
    EXPECT_EQ(p.FinishOnClose(), State::Complete);
    EXPECT_EQ(p.Body(), "abcd");
    EXPECT_EQ(p.ErrorCode(), 0);
}

struct CloseCase {
    const char* name;
    std::string bytes;
    State beforeClose;
    Reply afterClose;
};

void PrintTo(const CloseCase& c, std::ostream* out) {
    *out << c.name;
}

class CompletesOnClose : public testing::TestWithParam<CloseCase> {};

TEST_P(CompletesOnClose, DeliversWhatWasRead) {
    const CloseCase& c = GetParam();
    HttpReplyParser p;
    EXPECT_EQ(p.Feed(c.bytes.data(), c.bytes.size()), c.beforeClose);
    EXPECT_EQ(p.FinishOnClose(), State::Complete);
    EXPECT_EQ(Snapshot(p), c.afterClose);
    EXPECT_EQ(p.FinishOnClose(), State::Complete);
    EXPECT_EQ(p.Feed("late", 4), State::Complete);
    EXPECT_EQ(Snapshot(p), c.afterClose);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompletesOnClose,
    testing::Values(
        CloseCase{"NothingReceived", "", State::NeedMore, {State::Complete, 0, {}, "", Failure::None}},
        CloseCase{"NoContentLength",
                  "HTTP/1.0 200 OK\r\n\r\n<doc/>",
                  State::NeedMore,
                  {State::Complete, 200, {}, "<doc/>", Failure::None}},
        CloseCase{"ContentLengthZero",
                  "HTTP/1.0 200 OK\r\nContent-length: 0\r\n\r\nstill read",
                  State::NeedMore,
                  {State::Complete, 200, {{"Content-length", "0"}}, "still read", Failure::None}},
        CloseCase{
            "NotFoundWithBody",
            "HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<h1>Not Found</h1>",
            State::NeedMore,
            {State::Complete, 404, {{"Content-Type", "text/html"}}, "<h1>Not Found</h1>", Failure::None}},
        CloseCase{
            "EmptyFirstLine", "\r\nbody", State::NeedMore, {State::Complete, 0, {}, "body", Failure::None}},
        CloseCase{"BinaryBody",
                  std::string("HTTP/1.0 200 OK\n\n\0\xff\r\n\x80", 22),
                  State::NeedMore,
                  {State::Complete, 200, {}, std::string("\0\xff\r\n\x80", 5), Failure::None}},
        CloseCase{"OddFieldLines",
                  "HTTP/1.0 200 OK\r\nno colon\r\n: empty name\r\n folded: line\r\n\tTab: x\r\n"
                  "Spaced  :  v a l  \r\nA:b:c\r\n\r\n",
                  State::NeedMore,
                  {State::Complete, 200, {{"Spaced", "v a l"}, {"A", "b:c"}}, "", Failure::None}}),
    [](const testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

struct CutCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const CutCase& c, std::ostream* out) {
    *out << c.name;
}

class CutShortOnClose : public testing::TestWithParam<CutCase> {};

// A close that leaves the header block unfinished, or the announced body short, cuts the reply short: it is
// the lost connection's error, never a page.
TEST_P(CutShortOnClose, FailsWithTheLostConnectionsCode) {
    HttpReplyParser p;
    EXPECT_EQ(p.Feed(GetParam().bytes.data(), GetParam().bytes.size()), State::NeedMore);
    EXPECT_EQ(p.FinishOnClose(), State::Failed);
    EXPECT_EQ(p.LastFailure(), Failure::CutShort);
    EXPECT_EQ(p.ErrorCode(), SocketError::kLostConnection);
    EXPECT_EQ(p.Body(), "");
    EXPECT_EQ(p.Feed("late", 4), State::Failed);
    EXPECT_EQ(p.FinishOnClose(), State::Failed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CutShortOnClose,
    testing::Values(
        CutCase{"FewerThanAnnounced", "HTTP/1.0 200 OK\r\nContent-length: 100\r\n\r\nshort"},
        CutCase{"OneByteShort", "HTTP/1.0 200 OK\r\nContent-length: 6\r\n\r\nshort"},
        CutCase{"AnnouncedButNoBody", "HTTP/1.0 200 OK\r\nContent-length: 5\r\n\r\n"},
        CutCase{"WithinHeaderBlock", "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nContent-Type: text/x"},
        CutCase{"HeaderBlockWithoutItsEmptyLine", "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n"},
        CutCase{"WithinStatusLine", "HTTP/1.0 200"}, CutCase{"StatusLineOnly", "HTTP/1.0 200 OK\r\n"}),
    [](const testing::TestParamInfo<CutCase>& info) { return info.param.name; });

struct StatusCase {
    const char* line;
    std::int32_t status;
};

void PrintTo(const StatusCase& c, std::ostream* out) {
    *out << testing::PrintToString(std::string(c.line));
}

class StatusLine : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusLine, SecondFieldWhenANumber) {
    EXPECT_EQ(Parse(std::string(GetParam().line) + "\r\n\r\n", {}, true).status, GetParam().status)
        << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Cases, StatusLine,
                         testing::Values(StatusCase{"HTTP/1.0 200 OK", 200}, StatusCase{"HTTP/1.1 404", 404},
                                         StatusCase{"HTTP/1.0   301 \t Moved", 301},
                                         StatusCase{" HTTP/1.0 302 Found", 302},
                                         StatusCase{"HTTP/1.0 999", 999}, StatusCase{"HTTP/1.0 abc OK", 0},
                                         StatusCase{"HTTP/1.0 20x OK", 0}, StatusCase{"HTTP/1.0 -200 OK", 0},
                                         StatusCase{"HTTP/1.0 1000", 0},
                                         StatusCase{"HTTP/1.0 99999999999999999999999999", 0},
                                         StatusCase{"HTTP/1.0", 0}, StatusCase{"HTTP/1.0 ", 0}));

struct LengthCase {
    const char* name;
    std::vector<std::string> lengths; // one Content-length field each
    State state;                      // after the header block and a 10-byte body, before close
    std::string body;                 // after close
};

void PrintTo(const LengthCase& c, std::ostream* out) {
    *out << c.name;
}

class HostileLength : public testing::TestWithParam<LengthCase> {};

TEST_P(HostileLength, FollowsTheLengthRule) {
    const LengthCase& c = GetParam();
    std::string bytes = "HTTP/1.0 200 OK\r\n";
    for (const auto& length : c.lengths) {
        bytes += "content-LENGTH: " + length + "\r\n";
    }
    bytes += "\r\n0123456789";
    HttpReplyParser p;
    EXPECT_EQ(p.Feed(bytes.data(), bytes.size()), c.state);
    p.FinishOnClose();
    EXPECT_EQ(p.Body(), c.body);
    if (c.state == State::Failed) {
        EXPECT_EQ(p.CurrentState(), State::Failed);
        EXPECT_EQ(p.LastFailure(), Failure::BodyTooLarge);
        EXPECT_EQ(p.ErrorCode(), SocketError::kReplyTooLarge);
    } else {
        EXPECT_EQ(p.CurrentState(), State::Complete);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileLength,
    testing::Values(
        LengthCase{"Valid", {"4"}, State::Complete, "0123"},
        LengthCase{"Blanks", {"  4 "}, State::Complete, "0123"},
        LengthCase{"LeadingZeros", {"0004"}, State::Complete, "0123"},
        LengthCase{"SameTwice", {"4", "04"}, State::Complete, "0123"},
        LengthCase{"Negative", {"-4"}, State::NeedMore, "0123456789"},
        LengthCase{"Plus", {"+4"}, State::NeedMore, "0123456789"},
        LengthCase{"Junk", {"4x"}, State::NeedMore, "0123456789"},
        LengthCase{"Hex", {"0x4"}, State::NeedMore, "0123456789"},
        LengthCase{"Empty", {""}, State::NeedMore, "0123456789"},
        LengthCase{"List", {"4, 4"}, State::NeedMore, "0123456789"},
        LengthCase{"Conflicting", {"4", "5"}, State::NeedMore, "0123456789"},
        LengthCase{"ValidThenJunk", {"4", "abc"}, State::NeedMore, "0123456789"},
        LengthCase{"HugeThenValid", {"99999999999999999999999", "4"}, State::NeedMore, "0123456789"},
        LengthCase{"OneAboveCap", {std::to_string(HttpReplyParser::kMaxBody + 1)}, State::Failed, ""},
        LengthCase{"Overflowing", {"99999999999999999999999999999"}, State::Failed, ""},
        LengthCase{"SizeMaxPlusOne", {"18446744073709551616"}, State::Failed, ""}),
    [](const testing::TestParamInfo<LengthCase>& info) { return info.param.name; });

// A header block of exactly `size` bytes counted up to the CR of its final CR LF.
std::string HeaderBlockOfSize(std::size_t size) {
    const std::string start = "HTTP/1.0 200 OK\r\nX-Pad: ";
    const std::string end = "\r\n\r";
    return start + std::string(size - start.size() - end.size(), 'p') + end + "\n";
}

TEST(HttpReplyParser, HeaderBlockCap) {
    const std::string atCap = HeaderBlockOfSize(HttpReplyParser::kMaxHeaderBlock) + "body";
    EXPECT_EQ(Parse(atCap, {}, true).body, "body");
    EXPECT_EQ(Parse(atCap, {}, true).state, State::Complete);

    const std::string overCap = HeaderBlockOfSize(HttpReplyParser::kMaxHeaderBlock + 1) + "body";
    HttpReplyParser p;
    EXPECT_EQ(p.Feed(overCap.data(), overCap.size()), State::Failed);
    EXPECT_EQ(p.LastFailure(), Failure::HeaderTooLarge);
    EXPECT_EQ(p.ErrorCode(), SocketError::kReplyTooLarge);
    EXPECT_EQ(p.FinishOnClose(), State::Failed);

    // A header block that never ends fails too, byte by byte as in one piece.
    HttpReplyParser endless;
    std::size_t fed = 0;
    while (endless.Feed("a", 1) == State::NeedMore) {
        ++fed;
    }
    EXPECT_EQ(fed, HttpReplyParser::kMaxHeaderBlock);
    EXPECT_EQ(endless.LastFailure(), Failure::HeaderTooLarge);
}

TEST(HttpReplyParser, BodyCap) {
    const std::string head = "HTTP/1.0 200 OK\r\n\r\n";
    const std::string full(HttpReplyParser::kMaxBody, 'b');

    HttpReplyParser atCap;
    atCap.Feed(head.data(), head.size());
    EXPECT_EQ(atCap.Feed(full.data(), full.size()), State::NeedMore);
    EXPECT_EQ(atCap.FinishOnClose(), State::Complete);
    EXPECT_EQ(atCap.Body().size(), HttpReplyParser::kMaxBody);

    HttpReplyParser overCap;
    overCap.Feed(head.data(), head.size());
    overCap.Feed(full.data(), full.size());
    EXPECT_EQ(overCap.Feed("b", 1), State::Failed);
    EXPECT_EQ(overCap.LastFailure(), Failure::BodyTooLarge);
    EXPECT_EQ(overCap.Body(), "");
    EXPECT_EQ(overCap.FinishOnClose(), State::Failed);

    // Announcing exactly the cap is accepted, and the bytes after it are ignored.
    const std::string announced =
        "HTTP/1.0 200 OK\r\nContent-length: " + std::to_string(HttpReplyParser::kMaxBody) + "\r\n\r\n" +
        full + "x";
    EXPECT_EQ(Parse(announced).state, State::Complete);
    EXPECT_EQ(Parse(announced).body, full);
}

} // namespace
} // namespace Ovelund
