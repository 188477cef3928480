#include "framework/net/HttpUrl.h"

#include "framework/net/SocketErrors.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace Ovelund {

namespace {

constexpr std::int32_t kDefaultPort = 80;
constexpr std::int32_t kMaxPort = 65535;

bool IsValidPort(std::int64_t port) {
    return port >= 1 && port <= kMaxPort;
}

// The digits as a port, or nothing when they are not all digits or not a port. Stops counting past the
// largest port, so any number of digits is safe.
std::optional<std::int32_t> ParsePort(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > kMaxPort) {
            return std::nullopt;
        }
    }
    if (!IsValidPort(value)) {
        return std::nullopt;
    }
    return value;
}

bool HasBlankOrControl(std::string_view text) {
    return std::ranges::any_of(text, [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte <= 0x20 || byte == 0x7F;
    });
}

HttpUrl Failed(std::int32_t error) {
    HttpUrl result;
    result.error = error;
    return result;
}

} // namespace

HttpUrl HttpUrl::Split(const String& url, std::int32_t clientPort, const HttpProxy& proxy) {
    if (HasBlankOrControl(url)) {
        return Failed(SocketError::kInvalidUrl);
    }
    std::string_view remainder = url;
    if (auto scheme = remainder.find("://"); scheme != std::string_view::npos) {
        remainder.remove_prefix(scheme + 3);
    }
    auto slash = remainder.find('/');
    std::string_view server = remainder.substr(0, slash);
    std::string_view target =
        slash == std::string_view::npos ? std::string_view("/") : remainder.substr(slash);

    auto colon = server.find(':');
    std::string_view address = server.substr(0, colon);
    if (address.empty()) {
        return Failed(SocketError::kInvalidUrl);
    }
    std::int32_t port = kDefaultPort;
    std::string_view portText =
        colon == std::string_view::npos ? std::string_view() : server.substr(colon + 1);
    if (!portText.empty()) {
        auto parsed = ParsePort(portText);
        if (!parsed) {
            return Failed(SocketError::kInvalidPort);
        }
        port = *parsed;
    } else if (clientPort != 0) {
        if (!IsValidPort(clientPort)) {
            return Failed(SocketError::kInvalidPort);
        }
        port = clientPort;
    }

    HttpUrl result;
    result.host = String(server);
    if (proxy.address.empty()) {
        result.address = String(address);
        result.port = port;
        result.target = String(target);
        return result;
    }
    if (proxy.port != 0 && !IsValidPort(proxy.port)) {
        return Failed(SocketError::kInvalidPort);
    }
    result.address = proxy.address;
    result.port = proxy.port != 0 ? proxy.port : kDefaultPort;
    result.target = url;
    return result;
}

} // namespace Ovelund
