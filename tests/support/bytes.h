#pragma once
// Datagram bytes for the tests: from text, or made up to a size.

#include <cstddef>
#include <string_view>
#include <vector>

namespace kestrin::test {

// The text's chars as bytes, one each.
inline std::vector<std::byte> Bytes(std::string_view text) {
    std::vector<std::byte> bytes(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<std::byte>(text[i]);
    return bytes;
}

// `count` bytes counting up from `first`, wrapping at 256: a byte out of
// place shows.
inline std::vector<std::byte> Counting(std::size_t count, unsigned char first = 0) {
    std::vector<std::byte> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::byte>(first + i);
    return bytes;
}

// `count` capital letters, A to Z over and over: printable, so a line made of
// them reads back as text.
inline std::vector<std::byte> Filled(std::size_t count) {
    std::vector<std::byte> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::byte>('A' + i % 26);
    return bytes;
}

}  // namespace kestrin::test
