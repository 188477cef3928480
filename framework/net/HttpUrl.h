#pragma once
// Splits a URL into what the HTTP client needs: where to connect, the Host header and the request target.
//
// - Everything up to and including the first "://" is dropped; without "://" the whole URL is the
//   remainder. The scheme is not looked at.
// - The server part is the remainder up to its first "/" (all of it when there is none); the request
//   target is the rest from that "/" on, or "/" when there is none. The Host header is the server part as
//   written.
// - The server part's first ":" starts the port. Only ASCII digits are a port (leading zeros allowed);
//   "host:" with nothing after the colon means no port. Without a port the client's Port is used when it
//   is not 0, else 80. A port that is not digits, is 0 or is above 65535 makes the split fail with
//   kInvalidPort; so does a client Port that is negative or above 65535. Bracketed IPv6 literals and "user@"
//   parts are not understood: their colons make the port invalid.
// - An empty server address (nothing before the first ":") fails with kInvalidUrl, as does a URL containing
//   a blank or a control character: the URL goes into the request line, where those would end it early.
// - With a proxy (its address not empty) the client connects to the proxy instead, at its port or 80 when
//   that is 0, and the request target is the whole URL as given. The URL is still checked as above.

#include "framework/core/String.h"

#include <cstdint>

namespace Ovelund {

struct HttpProxy {
    String address; // empty: no proxy
    std::int32_t port = 0;
};

struct HttpUrl {
    // 0 when the split succeeded, else SocketError::kInvalidUrl or SocketError::kInvalidPort; the other
    // fields are then empty.
    std::int32_t error = 0;
    String address;        // to connect to
    std::int32_t port = 0; // to connect to; 1..65535 when valid
    String host;           // the Host header value
    String target;         // the request target

    bool IsValid() const { return error == 0; }

    static HttpUrl Split(const String& url, std::int32_t clientPort, const HttpProxy& proxy = {});
};

} // namespace Ovelund
