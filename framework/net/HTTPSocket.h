#pragma once
// The HTTP/1.0 client. Get(url) starts one asynchronous request and returns at once; its outcome arrives on
// the event loop as exactly one event:
// - PageReceived (url, status, headers, page text) for a complete reply of any status: once its
//   Content-length is in, or, without one above 0, when the server closes the connection after the header
//   block; and for a connection that the server closes before any byte (status 0, empty text);
// - Error (code) otherwise: a connection that could not be made, a reply cut short (the server closes within
//   the header block or before the announced length is in) or a connection that breaks (a reset, at any
//   point before the reply is complete), both kLostConnection; a reply that breaks a bound (kReplyTooLarge,
//   see HttpReplyParser.h).
// There is no time-out: a host that never answers, or never completes its reply, keeps the request waiting
// until Get is called again or the client is closed or dropped (see TCPSocket.h).
//
// The client's own events count after SocketCore's. Of all its events the client raises only PageReceived
// and Error; their handlers take:
//   PageReceived: void (Ref<HTTPSocket> sender, String url, std::int32_t status,
//                       Ref<InternetHeaders> headers, String content)
//   Error:        void (Ref<HTTPSocket> sender, std::int32_t code)

#include "framework/net/InternetHeaders.h"
#include "framework/net/TCPSocket.h"

#include <cstdint>
#include <memory>

namespace Ovelund {

class HttpReplyParser;

class HTTPSocket : public TCPSocket {
    OVELUND_OBJECT
public:
    // The client's own events, numbered after its socket bases'. Connected and Error hide the socket layer's
    // events of the same names (0 and 2), which the client does not raise.
    enum Event : int {
        EventAuthenticationRequired = 5,
        EventConnected = 6,
        EventDownloadComplete = 7,
        EventError = 8,
        EventHeadersReceived = 9,
        EventPageReceived = 10,
        EventProxyAuthenticationRequired = 11,
        EventReceiveProgress = 12,
    };

    HTTPSocket();
    ~HTTPSocket() override;

    // The client's construction: the default request headers ("Accept: */*", "Accept-Language: en",
    // "Content-length: 0") and the default port, 80.
    void Constructor();

    const String& HTTPProxyAddress() const { return proxyAddress_; }
    void SetHTTPProxyAddress(const String& value) {
        CheckUIThread();
        proxyAddress_ = value;
    }
    std::int32_t HTTPProxyPort() const { return proxyPort_; }
    void SetHTTPProxyPort(std::int32_t value) {
        CheckUIThread();
        proxyPort_ = value;
    }
    bool Yield() const { return yield_; }
    void SetYield(bool value) {
        CheckUIThread();
        yield_ = value;
    }

    const InternetHeaders& RequestHeaders() const { return requestHeaders_; }

    // Starts an asynchronous GET of `url`. A request still running ends without an event.
    void Get(const String& url);

protected:
    void OnConnected() override;
    void OnDataAvailable() override;
    void OnError(std::int32_t code) override;
    void OnClosed() override;

private:
    // Acts on the reply parser's state: close and deliver once it is complete or failed.
    void Advance();
    void DeliverPage();
    void DeliverError(std::int32_t code);

    String proxyAddress_;
    std::int32_t proxyPort_ = 0;
    bool yield_ = false;
    InternetHeaders requestHeaders_;
    // The request in flight.
    String url_;
    String requestBytes_;
    std::unique_ptr<HttpReplyParser> reply_;
    bool delivered_ = true;
    // Counts Get calls, so that an outcome posted for an earlier request is dropped.
    std::uint64_t generation_ = 0;
};

} // namespace Ovelund
