// The socket classes against a real loopback server: the request bytes the HTTP client sends, each way a
// reply can end, the errors before a connection, and a client dropped while its request runs.

#include "framework/core/ClassRecord.h"
#include "framework/core/EventSource.h"
#include "framework/net/HTTPSocket.h"
#include "framework/net/HostResolver.h"
#include "framework/net/HttpReplyParser.h"
#include "framework/net/SocketErrors.h"
#include "framework/net/TCPSocket.h"
#include "support/ClosedLoopbackPort.h"
#include "support/FullBacklogListener.h"
#include "support/LoopbackServer.h"
#include "support/NoFreeFileDescriptors.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace Ovelund {
namespace {

using testing_support::LoopbackServer;
using testing_support::RunFor;
using testing_support::RunUntil;
using testing_support::Script;

// ---- the program's side ----

struct Page {
    String url;
    std::int32_t status;
    Ref<InternetHeaders> headers;
    String content;
};

class Recorder : public Object {
public:
    void PageReceived(Ref<HTTPSocket> sender, String url, std::int32_t status, Ref<InternetHeaders> headers,
                      String content) {
        pages.push_back(Page{std::move(url), status, std::move(headers), std::move(content)});
        if (onOutcome)
            onOutcome(sender);
    }
    void Error(Ref<HTTPSocket> sender, std::int32_t code) {
        errors.push_back(code);
        if (onOutcome)
            onOutcome(sender);
    }

    std::size_t outcomes() const { return pages.size() + errors.size(); }

    std::vector<Page> pages;
    std::vector<std::int32_t> errors;
    std::function<void(const Ref<HTTPSocket>&)> onOutcome;
};

Ref<HTTPSocket> NewClient(const Ref<Recorder>& recorder) {
    auto socket = std::make_shared<HTTPSocket>();
    socket->Constructor();
    RuntimeAddEventHandler(*socket, HTTPSocket::EventPageReceived,
                           RuntimeCreateDelegate(&Recorder::PageReceived, recorder,
                                                 "( HTTPSocket, String, Int32, InternetHeaders, String )",
                                                 true));
    RuntimeAddEventHandler(*socket, HTTPSocket::EventError,
                           RuntimeCreateDelegate(&Recorder::Error, recorder, "( HTTPSocket, Int32 )", true));
    return socket;
}

String UrlAt(std::uint16_t port, const String& path = "/files/page.xml") {
    return "http://www.site.example:" + std::to_string(port) + path;
}

// Replaces each "{port}" in `text`.
String WithPort(String text, std::uint16_t port) {
    const String mark = "{port}";
    for (auto at = text.find(mark); at != String::npos; at = text.find(mark, at))
        text.replace(at, mark.size(), std::to_string(port));
    return text;
}

class HttpSocketTest : public testing::Test {
protected:
    void SetUp() override {
        // nohost.example has no address: its name fails as an unknown one does, and no resolver is asked.
        SetHostAddressMap(
            {{"www.site.example", "127.0.0.1"}, {"proxy.site.example", "127.0.0.1"}, {"nohost.example", ""}});
    }
    void TearDown() override { SetHostAddressMap({}); }

    Ref<Recorder> recorder = std::make_shared<Recorder>();
};

// ---- the request ----

constexpr std::int32_t kServerPort = -1; // stands for the test server's port

struct RequestCase {
    const char* name;
    const char* url;
    std::int32_t clientPort; // the client's Port; 80 is what Constructor sets
    bool viaProxy;           // proxy.site.example at the server's port
    const char* request;
};

void PrintTo(const RequestCase& c, std::ostream* out) {
    *out << c.name;
}

class HttpSocketRequest : public HttpSocketTest, public testing::WithParamInterface<RequestCase> {};

TEST_P(HttpSocketRequest, SendsTheExactRequestBytes) {
    const RequestCase& c = GetParam();
    LoopbackServer server(Script{{"HTTP/1.0 200 OK\r\n\r\n"}});
    ASSERT_TRUE(server.listening());
    Ref<HTTPSocket> socket = NewClient(recorder);
    socket->SetPort(c.clientPort == kServerPort ? server.port() : c.clientPort);
    if (c.viaProxy) {
        socket->SetHTTPProxyAddress("proxy.site.example");
        socket->SetHTTPProxyPort(server.port());
    }
    const String url = WithPort(c.url, server.port());

    socket->Get(url);
    ASSERT_TRUE(RunUntil([&] { return recorder->outcomes() > 0; }));

    EXPECT_EQ(server.request(), WithPort(c.request, server.port()));
    ASSERT_EQ(recorder->pages.size(), 1u);
    EXPECT_EQ(recorder->pages[0].url, url);
    EXPECT_EQ(recorder->pages[0].status, 200);
}

INSTANTIATE_TEST_SUITE_P(
    , HttpSocketRequest,
    testing::Values(
        RequestCase{"PathAndPortInTheUrl", "http://www.site.example:{port}/files/page.xml", 80, false,
                    "GET /files/page.xml HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\n"
                    "Host: www.site.example:{port}\r\n\r\n"},
        RequestCase{
            "NoPath", "http://www.site.example:{port}", 80, false,
            "GET / HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: www.site.example:{port}\r\n\r\n"},
        RequestCase{"NoScheme", "www.site.example:{port}/a/b?c=d", 80, false,
                    "GET /a/b?c=d HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\n"
                    "Host: www.site.example:{port}\r\n\r\n"},
        RequestCase{
            "PortZeroTakesTheUrlsPort", "http://www.site.example:{port}/x", 0, false,
            "GET /x HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: www.site.example:{port}\r\n\r\n"},
        RequestCase{
            "ClientPortWhenTheUrlHasNone", "http://www.site.example/x", kServerPort, false,
            "GET /x HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: www.site.example\r\n\r\n"},
        RequestCase{
            "HostNamesMapWithoutRegardToCase", "http://WWW.Site.EXAMPLE:{port}/", 80, false,
            "GET / HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: WWW.Site.EXAMPLE:{port}\r\n\r\n"},
        RequestCase{"ThroughAProxy", "http://far.site.example/x", 80, true,
                    "GET http://far.site.example/x HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\n"
                    "Host: far.site.example\r\n\r\n"}),
    [](const testing::TestParamInfo<RequestCase>& info) { return info.param.name; });

// ---- replies ----

struct ReplyCase {
    const char* name;
    Script script;
    std::int32_t status;
    std::string content;
    const char* header; // a header the reply must carry, "" for none
    const char* headerValue;
};

void PrintTo(const ReplyCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<std::string> Bytewise(const std::string& text) {
    std::vector<std::string> bytes;
    for (char c : text)
        bytes.emplace_back(1, c);
    return bytes;
}

class HttpSocketReply : public HttpSocketTest, public testing::WithParamInterface<ReplyCase> {};

// A reply that keeps its connection open can only end by its Content-length: the client closes first. One
// that the server closes must not be delivered before that close.
TEST_P(HttpSocketReply, DeliversOnePageWithTheBodyAsReceived) {
    const ReplyCase& c = GetParam();
    LoopbackServer server(c.script);
    ASSERT_TRUE(server.listening());
    Ref<HTTPSocket> socket = NewClient(recorder);
    bool serverClosedAtDelivery = false;
    recorder->onOutcome = [&](const Ref<HTTPSocket>&) {
        serverClosedAtDelivery = server.serverClosed();
    };

    socket->Get(UrlAt(server.port()));
    ASSERT_TRUE(RunUntil([&] { return recorder->outcomes() > 0; }));
    if (c.script.resetAfter) {
        RunFor(); // a reset after a complete reply changes nothing
    } else if (c.script.closeAfter) {
        EXPECT_TRUE(serverClosedAtDelivery);
        RunFor();
    } else {
        EXPECT_TRUE(RunUntil([&] { return server.clientClosed(); })) << "the client closes the connection";
    }

    EXPECT_TRUE(recorder->errors.empty());
    ASSERT_EQ(recorder->pages.size(), 1u);
    const Page& page = recorder->pages[0];
    EXPECT_EQ(page.url, UrlAt(server.port()));
    EXPECT_EQ(page.status, c.status);
    EXPECT_EQ(page.content, c.content);
    ASSERT_TRUE(page.headers);
    if (*c.header)
        EXPECT_EQ(page.headers->Value(c.header), c.headerValue);
    else
        EXPECT_EQ(page.headers->Count(), 0);
}

const std::string kBinaryBody("a\0b\xff\r\n", 6);
const std::string kCrLfReply =
    "HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nContent-length: 11\r\n\r\n<a>body</a>";

INSTANTIATE_TEST_SUITE_P(
    , HttpSocketReply,
    testing::Values(
        ReplyCase{"CompleteByContentLength",
                  {{kCrLfReply}, 0, false},
                  200,
                  "<a>body</a>",
                  "Content-Type",
                  "text/xml"},
        ReplyCase{"NotFoundWithABody",
                  {{"HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<h1>gone</h1>"}},
                  404,
                  "<h1>gone</h1>",
                  "Content-Type",
                  "text/html"},
        ReplyCase{"ResetAfterTheContentLength",
                  {{kCrLfReply}, 0, false, true, true},
                  200,
                  "<a>body</a>",
                  "Content-Type",
                  "text/xml"},
        ReplyCase{"BodyLongerThanContentLength",
                  {{"HTTP/1.0 200 OK\r\nContent-length: 5\r\n\r\nhelloEXTRA"}, 0, false},
                  200,
                  "hello",
                  "Content-length",
                  "5"},
        ReplyCase{"ContentLengthZeroEndsOnClose",
                  {{"HTTP/1.0 200 OK\r\nContent-length: 0\r\n\r\n", "late"}, 20},
                  200,
                  "late",
                  "Content-length",
                  "0"},
        ReplyCase{"NoContentLengthEndsOnClose",
                  {{"HTTP/1.0 200 OK\r\nServer: test\r\n\r\nfirst ", "second"}, 20},
                  200,
                  "first second",
                  "Server",
                  "test"},
        ReplyCase{"ServerClosesAtOnce", {{}, 0, true, false}, 0, "", "", ""},
        ReplyCase{"HeaderBlockOnly", {{"HTTP/1.0 204 No Content\r\n\r\n"}}, 204, "", "", ""},
        ReplyCase{
            "BinaryBody", {{"HTTP/1.0 200 OK\r\nX: y\r\n\r\n" + kBinaryBody}}, 200, kBinaryBody, "X", "y"},
        ReplyCase{"LfLineBreaks",
                  {{"HTTP/1.0 200 OK\nContent-Type: text/plain\nContent-length: 4\n\nbody"}, 0, false},
                  200,
                  "body",
                  "Content-Type",
                  "text/plain"},
        ReplyCase{"CrLineBreaks",
                  {{"HTTP/1.0 200 OK\rContent-Type: text/plain\rContent-length: 4\r\rbody"}, 0, false},
                  200,
                  "body",
                  "Content-Type",
                  "text/plain"},
        ReplyCase{"MixedLineBreaks",
                  {{"HTTP/1.0 200 OK\r\nContent-Type: text/plain\nContent-length: 4\r\r\nbody"}, 0, false},
                  200,
                  "body",
                  "Content-Type",
                  "text/plain"},
        ReplyCase{
            "ByteByByte", {Bytewise(kCrLfReply), 1, false}, 200, "<a>body</a>", "Content-Type", "text/xml"},
        ReplyCase{"ByteByByteEndingOnClose",
                  {Bytewise("HTTP/1.0 301 Moved\r\nLocation: /y\r\n\r\nmoved"), 1},
                  301,
                  "moved",
                  "Location",
                  "/y"}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

// ---- errors ----

enum class Target { Server, ClosedPort, Given };

struct ErrorCase {
    const char* name;
    Target target;
    const char* url; // for Target::Given
    Script script;   // for Target::Server
    std::int32_t code;
};

void PrintTo(const ErrorCase& c, std::ostream* out) {
    *out << c.name;
}

class HttpSocketError : public HttpSocketTest, public testing::WithParamInterface<ErrorCase> {};

TEST_P(HttpSocketError, ReportsOneErrorAndNoPage) {
    const ErrorCase& c = GetParam();
    LoopbackServer server(c.script);
    ASSERT_TRUE(server.listening());
    testing_support::ClosedLoopbackPort closed;
    Ref<HTTPSocket> socket = NewClient(recorder);
    const String url = c.target == Target::Server       ? UrlAt(server.port())
                       : c.target == Target::ClosedPort ? UrlAt(closed.port())
                                                        : String(c.url);

    socket->Get(url);
    EXPECT_EQ(recorder->outcomes(), 0u) << "the outcome comes on the event loop, not from inside Get";
    ASSERT_TRUE(RunUntil([&] { return recorder->outcomes() > 0; }));
    RunFor();

    EXPECT_TRUE(recorder->pages.empty());
    ASSERT_EQ(recorder->errors.size(), 1u);
    EXPECT_EQ(recorder->errors[0], c.code);
    EXPECT_EQ(socket->LastErrorCode(), c.code);
}

const std::string kBodyOverCap(HttpReplyParser::kMaxBody + 1, 'x');
const std::string kHeaderOverCap(HttpReplyParser::kMaxHeaderBlock, 'h');

INSTANTIATE_TEST_SUITE_P(
    , HttpSocketError,
    testing::Values(
        ErrorCase{"NoServerName", Target::Given, "http://:8080/x", {}, SocketError::kInvalidUrl},
        ErrorCase{
            "BlankInTheUrl", Target::Given, "http://www.site.example/a b", {}, SocketError::kInvalidUrl},
        ErrorCase{
            "PortOutOfRange", Target::Given, "http://www.site.example:65536/", {}, SocketError::kInvalidPort},
        ErrorCase{
            "PortNotANumber", Target::Given, "http://www.site.example:8o/", {}, SocketError::kInvalidPort},
        ErrorCase{"NobodyListens", Target::ClosedPort, "", {}, SocketError::kLostConnection},
        ErrorCase{"NameWithoutAnAddress",
                  Target::Given,
                  "http://nohost.example/x",
                  {},
                  SocketError::kNameResolutionFailed},
        // A reply cut short is a lost connection, never a page: a close within the header block or before
        // the announced length, or a reset at any point before the reply is complete.
        ErrorCase{"ClosedBeforeTheContentLength",
                  Target::Server,
                  "",
                  {{"HTTP/1.0 200 OK\r\nContent-length: 100\r\n\r\nshort"}},
                  SocketError::kLostConnection},
        ErrorCase{"ClosedWithinTheHeaderBlock",
                  Target::Server,
                  "",
                  {{"HTTP/1.0 200 OK\r\nContent-"}},
                  SocketError::kLostConnection},
        ErrorCase{"ResetBeforeAnyByte",
                  Target::Server,
                  "",
                  {{}, 0, false, true, true},
                  SocketError::kLostConnection},
        ErrorCase{"ResetWithinTheHeaderBlock",
                  Target::Server,
                  "",
                  {{"HTTP/1.0 200 OK\r\nContent-"}, 0, false, true, true},
                  SocketError::kLostConnection},
        ErrorCase{
            "ResetWithinABodyThatEndsOnClose",
            Target::Server,
            "",
            {{"HTTP/1.0 200 OK\r\n\r\n<CurrentVersion>3.1", ".0</CurrentVersion>"}, 20, false, true, true},
            SocketError::kLostConnection},
        ErrorCase{"ResetBeforeTheContentLength",
                  Target::Server,
                  "",
                  {{"HTTP/1.0 200 OK\r\nContent-length: 100\r\n\r\nshort"}, 0, false, true, true},
                  SocketError::kLostConnection},
        ErrorCase{"BodyOverTheCap",
                  Target::Server,
                  "",
                  {{"HTTP/1.0 200 OK\r\n\r\n", kBodyOverCap}, 0, false},
                  SocketError::kReplyTooLarge},
        ErrorCase{"AnnouncedBodyOverTheCap",
                  Target::Server,
                  "",
                  {{"HTTP/1.0 200 OK\r\nContent-length: 99999999999999999999\r\n\r\n"}, 0, false},
                  SocketError::kReplyTooLarge},
        ErrorCase{"HeaderBlockOverTheCap",
                  Target::Server,
                  "",
                  {{"HTTP/1.0 200 OK\r\nX-Pad: " + kHeaderOverCap + "\r\n\r\n"}, 0, false},
                  SocketError::kReplyTooLarge}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

// A connect that fails inside the call that starts it still reports on the event loop: with no file
// descriptor left, the socket itself cannot be made.
TEST_F(HttpSocketTest, AConnectThatFailsAtOnceReportsOnTheEventLoop) {
    if (!testing_support::NoFreeFileDescriptors::kAvailable)
        GTEST_SKIP() << "the sanitizers need free file descriptors";
    Ref<HTTPSocket> socket = NewClient(recorder);
    {
        testing_support::NoFreeFileDescriptors exhausted;
        socket->Get("http://127.0.0.1:1/x");
    }
    EXPECT_EQ(recorder->outcomes(), 0u);
    ASSERT_TRUE(RunUntil([&] { return recorder->outcomes() > 0; }));
    RunFor();
    EXPECT_TRUE(recorder->pages.empty());
    EXPECT_EQ(recorder->errors, std::vector<std::int32_t>{SocketError::kOpenDriverError});
}

// ---- the client's life ----

TEST_F(HttpSocketTest, ANeverAnsweringServerGivesNoEventAndTheClientCanBeDropped) {
    LoopbackServer server(Script{{}, 0, false});
    Ref<HTTPSocket> socket = NewClient(recorder);
    socket->Get(UrlAt(server.port()));
    ASSERT_TRUE(RunUntil([&] { return !server.request().empty(); }));
    RunFor(300);
    EXPECT_EQ(recorder->outcomes(), 0u);

    socket.reset();
    EXPECT_TRUE(RunUntil([&] { return server.clientClosed(); }))
        << "dropping the client closes its connection";
    RunFor();
    EXPECT_EQ(recorder->outcomes(), 0u);
}

// A host that never answers the connect: the listener's queue is full, so the system drops the client's
// requests unanswered. The system gives up on each attempt soon here, and the client starts it again, so the
// request waits without limit: no event comes until the client is closed, and none after.
TEST_F(HttpSocketTest, AConnectThatIsNeverAnsweredWaitsWithoutLimit) {
    testing_support::FullBacklogListener listener;
    const unsigned queuedBefore = listener.queued();
    TCPSocket::SetConnectAttemptLimit(200);
    struct RestoreLimit {
        ~RestoreLimit() { TCPSocket::SetConnectAttemptLimit(0); }
    } restore;
    Ref<HTTPSocket> socket = NewClient(recorder);

    socket->Get(UrlAt(listener.port()));
    RunUntil([&] { return socket->ConnectAttempts() >= 3 || recorder->outcomes() > 0; }, 60'000);
    EXPECT_EQ(recorder->outcomes(), 0u) << "the request ended";
    ASSERT_GE(socket->ConnectAttempts(), 3u) << "the system did not give up twice";
    EXPECT_FALSE(socket->IsConnected());
    EXPECT_TRUE(listener.full());
    EXPECT_EQ(listener.queued(), queuedBefore) << "no attempt got through";

    socket->Close();
    const std::uint64_t attempts = socket->ConnectAttempts();
    RunFor(300);
    EXPECT_EQ(recorder->outcomes(), 0u);
    EXPECT_EQ(socket->ConnectAttempts(), attempts);
}

struct DropCase {
    const char* name;
    Target target;
    const char* url;
    Script script;
    std::size_t chunksBeforeDrop; // the client is dropped once the server has sent this many
};

void PrintTo(const DropCase& c, std::ostream* out) {
    *out << c.name;
}

class HttpSocketDrop : public HttpSocketTest, public testing::WithParamInterface<DropCase> {};

TEST_P(HttpSocketDrop, ADroppedClientAbandonsItsRequestQuietly) {
    const DropCase& c = GetParam();
    LoopbackServer server(c.script);
    Ref<HTTPSocket> socket = NewClient(recorder);
    socket->Get(c.target == Target::Server ? UrlAt(server.port()) : String(c.url));
    if (c.chunksBeforeDrop > 0) {
        ASSERT_TRUE(RunUntil([&] { return server.chunksSent() >= c.chunksBeforeDrop; }));
        RunFor(20); // lets the client read what was sent
    }

    socket.reset();
    RunFor(c.script.delayMs * static_cast<int>(c.script.chunks.size()) + 100);
    EXPECT_EQ(recorder->outcomes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    , HttpSocketDrop,
    testing::Values(DropCase{"WhileConnecting", Target::Server, "", {{kCrLfReply}}, 0},
                    DropCase{"WithANameFailureOnItsWay", Target::Given, "http://nohost.example/", {}, 0},
                    DropCase{"WithAnInvalidUrlsErrorOnItsWay", Target::Given, "http://:1/", {}, 0},
                    DropCase{"InTheMiddleOfTheHeaders",
                             Target::Server,
                             "",
                             {{"HTTP/1.0 200 OK\r\nContent-", "length: 4\r\n\r\nbody"}, 50, false},
                             1},
                    DropCase{"InTheMiddleOfTheBody",
                             Target::Server,
                             "",
                             {{"HTTP/1.0 200 OK\r\nContent-length: 8\r\n\r\nbo", "dy", "body"}, 50},
                             1}),
    [](const testing::TestParamInfo<DropCase>& info) { return info.param.name; });

// The window that holds the client closes in the client's own handler and drops it.
TEST_F(HttpSocketTest, AHandlerMayDropTheLastReferenceToItsClient) {
    LoopbackServer server(Script{{kCrLfReply}, 0, false});
    testing_support::ClosedLoopbackPort closed;
    for (const String& url : {UrlAt(server.port()), UrlAt(closed.port()), String("http://:1/")}) {
        SCOPED_TRACE(url);
        auto handlers = std::make_shared<Recorder>();
        Ref<HTTPSocket> socket = NewClient(handlers);
        handlers->onOutcome = [&](const Ref<HTTPSocket>&) {
            socket.reset();
        };
        socket->Get(url);
        ASSERT_TRUE(RunUntil([&] { return handlers->outcomes() > 0; }));
        RunFor();
        EXPECT_FALSE(socket);
        EXPECT_EQ(handlers->outcomes(), 1u);
    }
}

TEST_F(HttpSocketTest, AHandlerMayStartTheNextRequest) {
    LoopbackServer server(Script{{"HTTP/1.0 200 OK\r\nContent-length: 2\r\n\r\nok"}, 0, false});
    Ref<HTTPSocket> socket = NewClient(recorder);
    const String second = UrlAt(server.port(), "/second");
    recorder->onOutcome = [&](const Ref<HTTPSocket>& sender) {
        if (recorder->outcomes() == 1)
            sender->Get(second);
    };
    socket->Get(UrlAt(server.port()));
    ASSERT_TRUE(RunUntil([&] { return recorder->outcomes() >= 2; }));
    RunFor();

    EXPECT_EQ(server.connections(), 2);
    EXPECT_TRUE(recorder->errors.empty());
    ASSERT_EQ(recorder->pages.size(), 2u);
    EXPECT_EQ(recorder->pages[1].url, second);
    EXPECT_EQ(recorder->pages[1].content, "ok");
}

// A second Get ends the first without an event for it, whatever stage the first had reached.
TEST_F(HttpSocketTest, ASecondGetAbandonsTheFirst) {
    LoopbackServer silent(Script{{}, 0, false});
    LoopbackServer answering(Script{{kCrLfReply}, 0, false});
    const String second = UrlAt(answering.port(), "/second");
    for (const String& first :
         {UrlAt(silent.port()), String("http://:1/"), String("http://nohost.example/")}) {
        SCOPED_TRACE(first);
        auto handlers = std::make_shared<Recorder>();
        Ref<HTTPSocket> socket = NewClient(handlers);
        socket->Get(first);
        if (first == UrlAt(silent.port())) {
            ASSERT_TRUE(RunUntil([&] { return !silent.request().empty(); }));
        }
        socket->Get(second);
        ASSERT_TRUE(RunUntil([&] { return handlers->outcomes() > 0; }));
        RunFor();
        EXPECT_TRUE(handlers->errors.empty());
        ASSERT_EQ(handlers->pages.size(), 1u);
        EXPECT_EQ(handlers->pages[0].url, second);
    }
    EXPECT_TRUE(silent.clientClosed());
}

// ---- construction, class records and name mapping ----

TEST_F(HttpSocketTest, ConstructionAndTheDesignsPropertyNames) {
    auto socket = std::make_shared<HTTPSocket>();
    socket->Constructor();
    EXPECT_EQ(socket->Port(), 80);
    EXPECT_EQ(socket->RequestHeaders().Value("Accept"), "*/*");
    EXPECT_EQ(socket->RequestHeaders().Value("Accept-Language"), "en");
    EXPECT_EQ(socket->RequestHeaders().Value("Content-length"), "0");

    const ClassRecord& record = HTTPSocket::Lookup();
    EXPECT_EQ(record.FullName(), "HTTPSocket");
    EXPECT_EQ(record.Base(), &TCPSocket::Lookup());
    EXPECT_EQ(TCPSocket::Lookup().Base(), &SocketCore::Lookup());
    EXPECT_EQ(SocketCore::Lookup().Base(), &Object::Lookup());
    ASSERT_TRUE(record.FindEvent(HTTPSocket::EventPageReceived));
    EXPECT_EQ(record.FindEvent(HTTPSocket::EventPageReceived)->name, "PageReceived");
    EXPECT_EQ(record.FindEvent(HTTPSocket::EventError)->name, "Error");

    struct Key {
        const char* name;
        PropertyType type;
        PropertyValue value;
    };
    for (const Key& key :
         {Key{"httpProxyAddress", PropertyType::String, String("proxy.site.example")},
          Key{"httpProxyPort", PropertyType::Int32, std::int32_t{3128}},
          Key{"yield", PropertyType::Boolean, true}, Key{"port", PropertyType::Int32, std::int32_t{0}},
          Key{"address", PropertyType::String, String("www.site.example")}}) {
        SCOPED_TRACE(key.name);
        const PropertyRecord* property = record.FindProperty(key.name);
        ASSERT_TRUE(property);
        EXPECT_EQ(property->type, key.type);
        property->set(*socket, key.value);
        EXPECT_EQ(property->get(*socket), key.value);
    }
    EXPECT_EQ(socket->HTTPProxyAddress(), "proxy.site.example");
    EXPECT_EQ(socket->HTTPProxyPort(), 3128);
    EXPECT_TRUE(socket->Yield());
    EXPECT_EQ(socket->Port(), 0);
}

TEST(HttpSocketHostResolver, MapsNamesWithoutRegardToCaseAndPassesOthersThrough) {
    SetHostAddressMap({{"Www.Site.example", "127.0.0.1"}, {"NoHost.example", ""}});
    EXPECT_EQ(ResolveHostForConnection("www.site.example"), "127.0.0.1");
    EXPECT_EQ(ResolveHostForConnection("WWW.SITE.EXAMPLE"), "127.0.0.1");
    EXPECT_EQ(ResolveHostForConnection("nohost.example"), std::nullopt) << "mapped to no address";
    EXPECT_EQ(ResolveHostForConnection("other.site.example"), "other.site.example");
    EXPECT_EQ(ResolveHostForConnection(""), "");
    SetHostAddressMap({});
    EXPECT_EQ(ResolveHostForConnection("www.site.example"), "www.site.example");
}

// ---- the plain TCP socket under the client ----

class TcpRecorder : public Object {
public:
    void Connected(Ref<TCPSocket> sender) {
        ++connected;
        sender->Write("ping\r\n\r\n");
    }
    void DataAvailable(Ref<TCPSocket> sender) { data += sender->ReadAll(); }
    void Error(Ref<TCPSocket> sender) { errors.push_back(sender->LastErrorCode()); }

    int connected = 0;
    String data;
    std::vector<std::int32_t> errors;
};

Ref<TCPSocket> NewTcpSocket(const Ref<TcpRecorder>& recorder) {
    auto socket = std::make_shared<TCPSocket>();
    RuntimeAddEventHandler(*socket, SocketCore::EventConnected,
                           RuntimeCreateDelegate(&TcpRecorder::Connected, recorder, "( TCPSocket )", true));
    RuntimeAddEventHandler(
        *socket, SocketCore::EventDataAvailable,
        RuntimeCreateDelegate(&TcpRecorder::DataAvailable, recorder, "( TCPSocket )", true));
    RuntimeAddEventHandler(*socket, SocketCore::EventError,
                           RuntimeCreateDelegate(&TcpRecorder::Error, recorder, "( TCPSocket )", true));
    return socket;
}

TEST_F(HttpSocketTest, TheTcpLayerRaisesConnectedDataAndThePeersCloseAsError) {
    LoopbackServer server(Script{{"hel", "lo"}, 10});
    auto events = std::make_shared<TcpRecorder>();
    Ref<TCPSocket> socket = NewTcpSocket(events);
    socket->SetAddress("WWW.site.example");
    socket->SetPort(server.port());
    socket->Connect();
    ASSERT_TRUE(RunUntil([&] { return !events->errors.empty(); }));
    RunFor();

    EXPECT_EQ(server.request(), "ping\r\n\r\n");
    EXPECT_EQ(events->connected, 1);
    EXPECT_EQ(events->data, "hello");
    EXPECT_EQ(events->errors, std::vector<std::int32_t>{SocketError::kLostConnection});
    EXPECT_FALSE(socket->IsConnected());
}

TEST_F(HttpSocketTest, TheTcpLayerReportsConnectionsThatCannotBeMade) {
    struct Case {
        std::int32_t port;
        std::int32_t code;
    };
    testing_support::ClosedLoopbackPort closed;
    for (const Case& c : {Case{closed.port(), SocketError::kLostConnection},
                          Case{0, SocketError::kInvalidPort}, Case{65536, SocketError::kInvalidPort}}) {
        SCOPED_TRACE(c.port);
        auto events = std::make_shared<TcpRecorder>();
        Ref<TCPSocket> socket = NewTcpSocket(events);
        socket->SetAddress("127.0.0.1");
        socket->SetPort(c.port);
        socket->Connect();
        EXPECT_TRUE(events->errors.empty());
        ASSERT_TRUE(RunUntil([&] { return !events->errors.empty(); }));
        RunFor();
        EXPECT_EQ(events->connected, 0);
        EXPECT_EQ(events->errors, std::vector<std::int32_t>{c.code});
    }
}

// ---- a plain socket that its own handler closes, drops or connects again ----

enum class TcpEvent { Connected, DataAvailable, Error };

// Notes a plain socket's events in order, answers Connected with a request as TcpRecorder does, and calls
// `act` in the first event of the kind `actIn`.
class ActingTcpHandlers : public Object {
public:
    void Connected(Ref<TCPSocket> sender) {
        sender->Write("ping\r\n\r\n");
        Note(TcpEvent::Connected, sender);
    }
    void DataAvailable(Ref<TCPSocket> sender) {
        data += sender->ReadAll();
        Note(TcpEvent::DataAvailable, sender);
    }
    void Error(Ref<TCPSocket> sender) {
        errors.push_back(sender->LastErrorCode());
        Note(TcpEvent::Error, sender);
    }

    std::vector<TcpEvent> events;
    String data;
    std::vector<std::int32_t> errors;
    TcpEvent actIn = TcpEvent::Connected;
    std::function<void(const Ref<TCPSocket>&)> act;

private:
    void Note(TcpEvent event, const Ref<TCPSocket>& sender) {
        events.push_back(event);
        if (act && event == actIn)
            std::exchange(act, nullptr)(sender);
    }
};

Ref<TCPSocket> NewActingTcpSocket(const Ref<ActingTcpHandlers>& handlers) {
    auto socket = std::make_shared<TCPSocket>();
    using Handler = void (ActingTcpHandlers::*)(Ref<TCPSocket>);
    for (auto [event, handler] :
         {std::pair<int, Handler>{SocketCore::EventConnected, &ActingTcpHandlers::Connected},
          {SocketCore::EventDataAvailable, &ActingTcpHandlers::DataAvailable},
          {SocketCore::EventError, &ActingTcpHandlers::Error}})
        RuntimeAddEventHandler(*socket, event,
                               RuntimeCreateDelegate(handler, handlers, "( TCPSocket )", true));
    return socket;
}

enum class InHandler { Drop, CloseAndConnectAgain };

struct InHandlerCase {
    const char* name;
    TcpEvent actIn;
    Script script; // the server's; none for a refused connect
    bool refused;
    // The events of one connection, from the first to the last: each DataAvailable brings "hello".
    std::vector<TcpEvent> connection;
};

void PrintTo(const InHandlerCase& c, std::ostream* out) {
    *out << c.name;
}

class TcpSocketInItsOwnHandler : public HttpSocketTest,
                                 public testing::WithParamInterface<std::tuple<InHandlerCase, InHandler>> {};

// The socket is let go, or closed and connected again, from inside the event loop's call for its own
// connection. A dropped socket raises nothing more and closes its connection; one connected again raises
// the events of a fresh connection after those of the first, up to the one it acted in.
TEST_P(TcpSocketInItsOwnHandler, ActsOnTheSocketAsAnywhereElse) {
    const auto& c = std::get<0>(GetParam());
    const auto action = std::get<1>(GetParam()); // a plain name, so that the lambdas below may capture it
    LoopbackServer server(c.script);
    ASSERT_TRUE(server.listening());
    testing_support::ClosedLoopbackPort closed;
    auto handlers = std::make_shared<ActingTcpHandlers>();
    Ref<TCPSocket> socket = NewActingTcpSocket(handlers);
    const WeakRef<TCPSocket> weak = socket;
    bool acted = false;
    handlers->actIn = c.actIn;
    handlers->act = [&](const Ref<TCPSocket>& sender) {
        acted = true;
        if (action == InHandler::Drop) {
            socket.reset();
        } else {
            sender->Close();
            sender->Connect();
        }
    };

    std::vector<TcpEvent> expected(c.connection.begin(),
                                   std::find(c.connection.begin(), c.connection.end(), c.actIn) + 1);
    if (action == InHandler::CloseAndConnectAgain)
        expected.insert(expected.end(), c.connection.begin(), c.connection.end());
    socket->SetAddress("127.0.0.1");
    socket->SetPort(c.refused ? closed.port() : server.port());
    socket->Connect();
    ASSERT_TRUE(RunUntil([&] { return acted && handlers->events.size() >= expected.size(); }));
    RunFor();

    EXPECT_EQ(handlers->events, expected);
    String data;
    std::vector<std::int32_t> errors;
    for (TcpEvent event : expected) {
        if (event == TcpEvent::DataAvailable)
            data += "hello";
        else if (event == TcpEvent::Error)
            errors.push_back(SocketError::kLostConnection);
    }
    EXPECT_EQ(handlers->data, data);
    EXPECT_EQ(handlers->errors, errors);
    if (action == InHandler::Drop) {
        EXPECT_TRUE(weak.expired());
        if (expected.back() != TcpEvent::Error) {
            EXPECT_TRUE(RunUntil([&] { return server.clientClosed(); }))
                << "the dropped socket's connection ends";
        }
    } else if (!c.refused) {
        EXPECT_EQ(server.connections(), 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    , TcpSocketInItsOwnHandler,
    testing::Combine(
        testing::Values(InHandlerCase{"Connected",
                                      TcpEvent::Connected,
                                      {{"hello"}, 0, false},
                                      false,
                                      {TcpEvent::Connected, TcpEvent::DataAvailable}},
                        InHandlerCase{"DataAvailable",
                                      TcpEvent::DataAvailable,
                                      {{"hello"}, 0, false},
                                      false,
                                      {TcpEvent::Connected, TcpEvent::DataAvailable}},
                        InHandlerCase{"ErrorOfThePeersClose",
                                      TcpEvent::Error,
                                      {{"hello"}},
                                      false,
                                      {TcpEvent::Connected, TcpEvent::DataAvailable, TcpEvent::Error}},
                        InHandlerCase{"ErrorOfAReset",
                                      TcpEvent::Error,
                                      {{"hello"}, 0, false, true, true},
                                      false,
                                      {TcpEvent::Connected, TcpEvent::DataAvailable, TcpEvent::Error}},
                        InHandlerCase{
                            "ErrorOfARefusedConnect", TcpEvent::Error, {}, true, {TcpEvent::Error}}),
        testing::Values(InHandler::Drop, InHandler::CloseAndConnectAgain)),
    [](const testing::TestParamInfo<std::tuple<InHandlerCase, InHandler>>& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == InHandler::Drop ? "_Drop" : "_CloseAndConnectAgain");
    });

} // namespace
} // namespace Ovelund
