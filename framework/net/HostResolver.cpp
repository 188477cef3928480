#include "framework/net/HostResolver.h"

#include <utility>

namespace Ovelund {

namespace {

// Host names are compared without regard to ASCII case, as the name system does; the map is keyed by the
// lower-case form. Bytes outside ASCII compare exactly.
String LowerAscii(String text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::map<String, String>& HostAddressMap() {
    static std::map<String, String> map;
    return map;
}

} // namespace

void SetHostAddressMap(std::map<String, String> hostToAddress) {
    std::map<String, String> lowered;
    // Of two names that differ only in case, the later one in the map's order wins.
    for (auto& [host, address] : hostToAddress)
        lowered[LowerAscii(host)] = std::move(address);
    HostAddressMap() = std::move(lowered);
}

std::optional<String> ResolveHostForConnection(const String& host) {
    const auto& map = HostAddressMap();
    if (map.empty())
        return host;
    auto it = map.find(LowerAscii(host));
    if (it == map.end())
        return host;
    if (it->second.empty())
        return std::nullopt;
    return it->second;
}

} // namespace Ovelund
