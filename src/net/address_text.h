#pragma once
// The text of an IP address as the program shows a datagram's sender.

#include <array>
#include <cstdint>
#include <string>

namespace kestrin::net {

// The four bytes in decimal, separated by ".": 127.0.0.1.
std::u16string IPv4AddressText(const std::array<std::uint8_t, 4>& address);

// All eight 16-bit groups in upper-case hexadecimal without leading zeros,
// separated by ":"; zero runs are never shortened: 0:0:0:0:0:0:0:1.
std::u16string IPv6AddressText(const std::array<std::uint8_t, 16>& address);

}  // namespace kestrin::net
