#include "framework/net/HTTPSocket.h"

#include "framework/net/HttpReplyParser.h"
#include "framework/net/HttpRequest.h"
#include "framework/net/HttpUrl.h"
#include "framework/runtime/UIThread.h"

#include <utility>

namespace Ovelund {

const ClassRecord& HTTPSocket::Lookup() {
    static const ClassRecord record =
        ClassBuilder<HTTPSocket>("HTTPSocket", &TCPSocket::Lookup())
            .NeverRaised(EventAuthenticationRequired, "AuthenticationRequired")
            .NeverRaised(EventConnected, "Connected")
            .NeverRaised(EventDownloadComplete, "DownloadComplete")
            .Event<std::int32_t>(EventError, "Error")
            .NeverRaised(EventHeadersReceived, "HeadersReceived")
            .Event<String, std::int32_t, Ref<InternetHeaders>, String>(EventPageReceived, "PageReceived")
            .NeverRaised(EventProxyAuthenticationRequired, "ProxyAuthenticationRequired")
            .NeverRaised(EventReceiveProgress, "ReceiveProgress")
            .Property("HTTPProxyAddress", &HTTPSocket::SetHTTPProxyAddress, &HTTPSocket::HTTPProxyAddress)
            .Property("HTTPProxyPort", &HTTPSocket::SetHTTPProxyPort, &HTTPSocket::HTTPProxyPort)
            .Property("Yield", &HTTPSocket::SetYield, &HTTPSocket::Yield)
            .Build();
    return record;
}

HTTPSocket::HTTPSocket() = default;

HTTPSocket::~HTTPSocket() = default;

void HTTPSocket::Constructor() {
    requestHeaders_ = ClientDefaultHeaders();
    SetPort(80);
}

// Yield is kept for designs that set it; Get never blocks, so there is nothing to yield to.
//
// A Get while an earlier one runs ends the earlier one on the spot, without an event: its connection is
// closed and an outcome already on its way (an invalid URL's Error) is dropped.
void HTTPSocket::Get(const String& url) {
    CheckUIThread();
    Close();
    const std::uint64_t request = ++generation_;
    url_ = url;
    requestBytes_.clear();
    reply_ = std::make_unique<HttpReplyParser>();
    delivered_ = false;
    SetLastErrorCode(0);

    const HttpUrl target = HttpUrl::Split(url, Port(), HttpProxy{proxyAddress_, proxyPort_});
    if (!target.IsValid()) {
        // The outcome comes on the event loop, as for any other request, never from inside Get.
        Post([this, request, code = target.error] {
            if (request == generation_ && !delivered_)
                DeliverError(code);
        });
        return;
    }
    requestBytes_ = RequestBytes(target, requestHeaders_);
    ConnectTo(target.address, target.port);
}

void HTTPSocket::OnConnected() {
    if (!delivered_)
        Write(requestBytes_);
}

void HTTPSocket::OnDataAvailable() {
    const String data = ReadAll();
    if (delivered_ || !reply_)
        return;
    reply_->Feed(data.data(), data.size());
    Advance();
}

// A connection that could not be made, or one that broke before the reply was complete: what arrived before
// the break was offered first, so a reply complete by its Content-length has been delivered already.
void HTTPSocket::OnError(std::int32_t code) {
    if (delivered_)
        return;
    Close();
    DeliverError(code);
}

// The server's orderly close ends a reply that reads to the close; it cuts short one that is not complete.
void HTTPSocket::OnClosed() {
    if (delivered_ || !reply_)
        return;
    const String rest = ReadAll();
    reply_->Feed(rest.data(), rest.size());
    reply_->FinishOnClose();
    Advance();
}

void HTTPSocket::Advance() {
    switch (reply_->CurrentState()) {
    case HttpReplyParser::State::NeedMore:
        return;
    case HttpReplyParser::State::Complete:
        // The connection goes before the program hears of the page, so its handler may start the next Get.
        Close();
        DeliverPage();
        return;
    case HttpReplyParser::State::Failed:
        Close();
        DeliverError(reply_->ErrorCode());
        return;
    }
}

void HTTPSocket::DeliverPage() {
    delivered_ = true;
    // Taken out first: the handler may start another Get, which replaces the parser.
    String url = url_;
    const std::int32_t status = reply_->Status();
    auto headers = std::make_shared<InternetHeaders>(reply_->Headers());
    String content = reply_->Body();
    RaiseEvent(EventPageReceived, shared_from_this(), std::move(url), status, std::move(headers),
               std::move(content));
}

void HTTPSocket::DeliverError(std::int32_t code) {
    delivered_ = true;
    SetLastErrorCode(code);
    RaiseEvent(EventError, shared_from_this(), code);
}

} // namespace Ovelund
