#pragma once
// The error codes the HTTP client reports in its Error event. 0 is never reported: it means "no error".
// 100-107 are the socket layer's own codes; 110 and up are the HTTP client's.

#include <cstdint>

namespace Ovelund::SocketError {

// The socket could not be created or set up (no resources, no permission, unsupported operation).
inline constexpr std::int32_t kOpenDriverError = 100;
// The connection could not be made (refused, unreachable) or broke before the reply was complete: a reset,
// or the server's close within the reply's header block or before its announced length. A connect that is
// never answered is no error: it waits until the request is abandoned (see TCPSocket.h). The update check
// also shows this code for a success page that is no update document, and for a page whose status line
// holds no status number, which the client hands over with the status 0.
inline constexpr std::int32_t kLostConnection = 102;
// The server's (or proxy's) name could not be resolved to an address.
inline constexpr std::int32_t kNameResolutionFailed = 103;
// The local address the socket needs is already in use.
inline constexpr std::int32_t kAddressInUse = 105;
// The operation is not allowed in the socket's current state.
inline constexpr std::int32_t kInvalidState = 106;
// The port (from the URL, the client's Port or the proxy port) is not in 1..65535 or is not a number.
inline constexpr std::int32_t kInvalidPort = 107;
// The URL names no server, or contains a blank or control character (which would break the request line).
inline constexpr std::int32_t kInvalidUrl = 110;
// The reply's header block or body is larger than the client accepts (see HttpReplyParser), or it announces
// a body larger than that.
inline constexpr std::int32_t kReplyTooLarge = 111;

} // namespace Ovelund::SocketError
