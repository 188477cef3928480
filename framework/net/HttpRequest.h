#pragma once
// The bytes of the HTTP client's requests: HTTP/1.0, a GET with no body.

#include "framework/core/String.h"
#include "framework/net/HttpUrl.h"
#include "framework/net/InternetHeaders.h"

namespace Ovelund {

inline constexpr const char* kHttpVersion = "1.0";

// The request headers the client starts with: "Accept: */*", "Accept-Language: en", "Content-length: 0".
InternetHeaders ClientDefaultHeaders();

// Prepares the client's own `headers` for a GET to `url` and returns the request: sets Host to the server
// part, deletes Content-length and Content-type (there is no body), then writes the request line
// "GET <target> HTTP/1.0", each field as "Name: value" and an empty line, all ended by CR LF. The headers
// keep those changes, so the program sees what was sent. An invalid `url` gives "" and leaves `headers`
// alone.
String RequestBytes(const HttpUrl& url, InternetHeaders& headers);

} // namespace Ovelund
