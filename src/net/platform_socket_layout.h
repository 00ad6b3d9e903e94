#pragma once
// What the platform parts share: both platforms lay out sockaddr_in and
// sockaddr_in6 with the same field names and take the same options, so each
// passes in its own types and numbers as a Layout:
//   struct Layout {
//       using V4 = sockaddr_in; using V6 = sockaddr_in6; using Storage = sockaddr_storage;
//       static constexpr int kFamilyV4 = AF_INET, kFamilyV6 = AF_INET6;
//       static constexpr OptionName kOptions[] = {...};  // in the order of SocketOption
//   };

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "net/address_text.h"
#include "net/socket_errors.h"
#include "net/udp_socket.h"

namespace kestrin::net {

struct OptionName {
    int level;
    int name;
};

template <typename Layout>
OptionName NameOf(SocketOption option) {
    return Layout::kOptions[static_cast<std::size_t>(option)];
}

// Ports travel in network byte order, most significant byte first.
inline std::uint16_t NetworkOrderPort(std::uint16_t port) {
    const std::array<std::uint8_t, 2> bytes{static_cast<std::uint8_t>(port >> 8), static_cast<std::uint8_t>(port)};
    return std::bit_cast<std::uint16_t>(bytes);
}

inline std::uint16_t HostOrderPort(std::uint16_t networkPort) {
    const auto bytes = std::bit_cast<std::array<std::uint8_t, 2>>(networkPort);
    return static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
}

// A socket address ready for bind or sendto, with the length those take.
template <typename Layout>
struct NativeAddress {
    typename Layout::Storage storage{};
    int length = 0;
};

// The wildcard address of the version, or its loopback address.
template <typename Layout>
NativeAddress<Layout> MakeNativeAddress(TIdIPVersion version, std::uint16_t port, bool loopback) {
    NativeAddress<Layout> address;
    if (version == Id_IPv4) {
        typename Layout::V4 v4{};
        v4.sin_family = static_cast<decltype(v4.sin_family)>(Layout::kFamilyV4);
        v4.sin_port = NetworkOrderPort(port);
        if (loopback) {
            constexpr std::array<std::uint8_t, 4> kLoopback{127, 0, 0, 1};
            std::memcpy(&v4.sin_addr, kLoopback.data(), kLoopback.size());
        }
        std::memcpy(&address.storage, &v4, sizeof v4);
        address.length = static_cast<int>(sizeof v4);
    } else {
        typename Layout::V6 v6{};
        v6.sin6_family = static_cast<decltype(v6.sin6_family)>(Layout::kFamilyV6);
        v6.sin6_port = NetworkOrderPort(port);
        if (loopback) {
            std::array<std::uint8_t, 16> loopbackBytes{};
            loopbackBytes.back() = 1;
            std::memcpy(&v6.sin6_addr, loopbackBytes.data(), loopbackBytes.size());
        }
        std::memcpy(&address.storage, &v6, sizeof v6);
        address.length = static_cast<int>(sizeof v6);
    }
    return address;
}

// Throws EIdIPVersionUnsupported for a family other than IPv4 and IPv6.
template <typename Layout>
SocketAddress ToSocketAddress(const typename Layout::Storage& storage) {
    if (storage.ss_family == Layout::kFamilyV4) {
        typename Layout::V4 v4;
        std::memcpy(&v4, &storage, sizeof v4);
        std::array<std::uint8_t, 4> bytes;
        std::memcpy(bytes.data(), &v4.sin_addr, bytes.size());
        return {Id_IPv4, IPv4AddressText(bytes), HostOrderPort(v4.sin_port)};
    }
    if (storage.ss_family == Layout::kFamilyV6) {
        typename Layout::V6 v6;
        std::memcpy(&v6, &storage, sizeof v6);
        std::array<std::uint8_t, 16> bytes;
        std::memcpy(bytes.data(), &v6.sin6_addr, bytes.size());
        return {Id_IPv6, IPv6AddressText(bytes), HostOrderPort(v6.sin6_port)};
    }
    throw EIdIPVersionUnsupported();
}

}  // namespace kestrin::net
