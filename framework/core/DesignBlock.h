#pragma once
// Design blocks: the stored design of one window or control, a byte string of entries "key blank value" with
// nothing before, between or after them. The value's encoding follows the type of the property the key names
// in the receiving object's class: Int32 four bytes, most significant first; Boolean one byte 00 or 01; Color
// three bytes red, green, blue; String a four-byte length, most significant first, then that many bytes of
// UTF-8. The block carries no type marks, so a reader must know the receiving class. An Int32 property whose
// numbers a control names with a scoped enumeration is written as Enum, with the enumeration's name checked
// at compile time: Enum<Label::Align>{"TextAlign", Label::Align::Center} stores what Int32{"TextAlign", 1}
// does.
//
// Blocks are written in source with the compile-time encoder, keys in the order the design lists them:
//   static constexpr auto timerDesign =
//       OVELUND_DESIGN_BLOCK(design::Int32{"Mode", 0}, design::Int32{"Period", 20});
// which is the 20 bytes "Mode " 00 00 00 00 "Period " 00 00 00 14.

#include "framework/core/Color.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace Ovelund::design {

// The Index by which a design marks a control that belongs to no control array: the smallest Int32.
inline constexpr std::int32_t kNoControlArray = -2147483647 - 1;

struct Int32 {
    const char* key;
    std::int32_t value;
};
template <class E>
requires std::is_same_v<std::underlying_type_t<E>, std::int32_t>
struct Enum {
    const char* key;
    E value;
};
struct Boolean {
    const char* key;
    bool value;
};
struct Color {
    const char* key;
    std::uint8_t red, green, blue;
};
struct String {
    const char* key;
    const char* value;
};

namespace detail {
constexpr std::size_t Length(const char* text) {
    return std::char_traits<char>::length(text);
}

constexpr std::size_t EntrySize(const Int32& e) {
    return Length(e.key) + 1 + 4;
}
template <class E> constexpr std::size_t EntrySize(const Enum<E>& e) {
    return EntrySize(Int32{e.key, 0});
}
constexpr std::size_t EntrySize(const Boolean& e) {
    return Length(e.key) + 1 + 1;
}
constexpr std::size_t EntrySize(const Color& e) {
    return Length(e.key) + 1 + 3;
}
constexpr std::size_t EntrySize(const String& e) {
    return Length(e.key) + 1 + 4 + Length(e.value);
}

template <std::size_t N> struct Writer {
    std::array<char, N> bytes{};
    std::size_t at = 0;

    constexpr void Byte(std::uint8_t value) { bytes[at++] = static_cast<char>(value); }
    constexpr void Text(const char* text) {
        for (std::size_t i = 0; text[i] != '\0'; ++i)
            bytes[at++] = text[i];
    }
    constexpr void Word(std::uint32_t value) {
        Byte(static_cast<std::uint8_t>(value >> 24));
        Byte(static_cast<std::uint8_t>(value >> 16));
        Byte(static_cast<std::uint8_t>(value >> 8));
        Byte(static_cast<std::uint8_t>(value));
    }
    constexpr void Key(const char* key) {
        Text(key);
        Byte(' ');
    }
    constexpr void Put(const Int32& e) {
        Key(e.key);
        Word(static_cast<std::uint32_t>(e.value));
    }
    template <class E> constexpr void Put(const Enum<E>& e) {
        Put(Int32{e.key, static_cast<std::int32_t>(e.value)});
    }
    constexpr void Put(const Boolean& e) {
        Key(e.key);
        Byte(e.value ? 1 : 0);
    }
    constexpr void Put(const Color& e) {
        Key(e.key);
        Byte(e.red);
        Byte(e.green);
        Byte(e.blue);
    }
    constexpr void Put(const String& e) {
        Key(e.key);
        Word(static_cast<std::uint32_t>(Length(e.value)));
        Text(e.value);
    }
};
} // namespace detail

template <class... Entries> constexpr std::size_t BlockSize(const Entries&... entries) {
    return (std::size_t{0} + ... + detail::EntrySize(entries));
}

template <std::size_t N, class... Entries> constexpr std::array<char, N> Encode(const Entries&... entries) {
    detail::Writer<N> writer;
    (writer.Put(entries), ...);
    return writer.bytes;
}

template <std::size_t N> constexpr std::string_view View(const std::array<char, N>& block) {
    return std::string_view(block.data(), block.size());
}

} // namespace Ovelund::design

#define OVELUND_DESIGN_BLOCK(...)                                                                            \
    ::Ovelund::design::Encode<::Ovelund::design::BlockSize(__VA_ARGS__)>(__VA_ARGS__)
