#pragma once
// The process-wide socket layer. Every network component is a user of it for
// its lifetime: the first user in the process starts the platform's socket
// library, the last one to go ends it again.

#include <cstdint>

namespace kestrin::net {

enum TIdIPVersion : std::uint8_t { Id_IPv4 = 0, Id_IPv6 = 1 };

// One user of the socket layer, registered for the object's lifetime.
class SocketLayerUse {
public:
    // Throws ESocketLibraryError when the socket library cannot be loaded or started.
    SocketLayerUse();
    ~SocketLayerUse();
    SocketLayerUse(SocketLayerUse&& other) noexcept;
    SocketLayerUse& operator=(SocketLayerUse&& other) noexcept;
    SocketLayerUse(const SocketLayerUse&) = delete;
    SocketLayerUse& operator=(const SocketLayerUse&) = delete;

private:
    bool registered_ = true;
};

// The number of users registered now.
int SocketLayerUsers();

// Whether the system supports an IP version; asked while a user holds the layer.
bool SupportsIPVersion(TIdIPVersion version);
inline bool SupportsIPv4() { return SupportsIPVersion(Id_IPv4); }
inline bool SupportsIPv6() { return SupportsIPVersion(Id_IPv6); }

}  // namespace kestrin::net
