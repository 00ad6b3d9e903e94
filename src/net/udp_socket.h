#pragma once
// The platform's UDP sockets, as thin as the listener needs them. A caller
// holds a SocketLayerUse while it uses them. Every failing call throws the
// socket error of its error number (socket_errors.h).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/unique_handle.h"
#include "net/socket_layer.h"

namespace kestrin::net {

// A platform socket held as an integer on every platform; the platforms'
// "no socket" values (INVALID_SOCKET, -1) both have all bits set.
using NativeSocket = std::uintptr_t;
inline constexpr NativeSocket kNoSocket = ~NativeSocket{0};

// Closes a socket: shuts down the sending direction first and ignores the
// results of both steps. The platform part.
void CloseNativeSocket(NativeSocket socket) noexcept;

// Owns one socket; kNoSocket is the empty one.
using SocketHandle = base::UniqueHandle<NativeSocket, &CloseNativeSocket>;
static_assert(SocketHandle::kEmpty == kNoSocket);

// An address and port as the program shows them: IPv4 dotted, IPv6 as eight
// full groups (address_text.h).
struct SocketAddress {
    TIdIPVersion ipVersion = Id_IPv4;
    std::u16string ip;
    std::uint16_t port = 0;
};

// 32-bit integer options; IPv6Only applies to IPv6 sockets only. The platform
// parts list their option numbers in this order.
enum class SocketOption { ReuseAddress, Broadcast, ReceiveBufferSize, IPv6Only };

// One datagram taken off a socket.
struct ReceivedDatagram {
    std::size_t length = 0;
    SocketAddress sender;
};

// A datagram socket of the version's address family.
SocketHandle CreateDatagramSocket(TIdIPVersion version);

void SetSocketOption(NativeSocket socket, SocketOption option, std::int32_t value);
std::int32_t GetSocketOption(NativeSocket socket, SocketOption option);

// Keeps every other socket off the port the socket is about to bind, on the
// wildcard and on any one address alike; for a socket without address reuse.
// Windows lets another program bind one specific address of a port bound to
// the wildcard, and that socket then takes the datagrams, unless the first
// asks for exclusive use (SO_EXCLUSIVEADDRUSE, which address reuse on the
// same socket excludes). POSIX shares a port only between sockets that both
// ask for reuse, so there it does nothing.
void SetExclusiveAddressUse(NativeSocket socket);
// Whether no other socket can join the socket's port: on Windows exclusive
// use, on POSIX address reuse off.
bool ExclusiveAddressUse(NativeSocket socket);

// Binds to the wildcard address of the version; port 0 lets the system choose.
void BindToWildcard(NativeSocket socket, TIdIPVersion version, std::uint16_t port);
// Binds to the loopback address of the version; for tests, which play
// another program that takes one address of the listener's port.
void BindToLoopback(NativeSocket socket, TIdIPVersion version, std::uint16_t port);

// The bound address and port.
SocketAddress LocalAddress(NativeSocket socket);

// True when a datagram (or an error) is waiting, false when the time ran out.
// A socket that is no longer open is a failure.
bool WaitReadable(NativeSocket socket, std::chrono::milliseconds timeout);

// Takes one datagram into the buffer. A datagram longer than the buffer is
// consumed and fails with 10040 rather than arriving cut short; a sender of
// another family throws EIdIPVersionUnsupported, the datagram consumed too.
ReceivedDatagram ReceiveFrom(NativeSocket socket, std::span<std::byte> buffer);

// Sends one datagram to the loopback address of the version; for tests and
// benchmarks, which play the part of the devices that send to the program.
void SendToLoopback(NativeSocket socket, TIdIPVersion version, std::uint16_t port, std::span<const std::byte> data);

}  // namespace kestrin::net
