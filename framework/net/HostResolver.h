#pragma once
// Name resolution for sockets. Tests map host names to addresses so that a request with its real Host header
// reaches a local server; with no mapping, names go to the platform's resolver. A name mapped to the empty
// address has none: connecting to it fails as an unknown name does, without asking any resolver.

#include "framework/core/ForTests.h"
#include "framework/core/String.h"

#include <map>
#include <optional>

namespace Ovelund {

// Replaces the host-to-address map; an empty map restores plain resolution.
OVELUND_FOR_TESTS void SetHostAddressMap(std::map<String, String> hostToAddress);
// The address to connect to for `host`: the mapped one, or `host` itself; nothing when the map gives the name
// no address.
std::optional<String> ResolveHostForConnection(const String& host);

} // namespace Ovelund
