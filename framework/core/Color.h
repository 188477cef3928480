#pragma once

#include <cstdint>

namespace Ovelund {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

constexpr Color RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return Color{red, green, blue};
}

} // namespace Ovelund
