#pragma once
// One binding of a UDP server: a datagram socket, the local address it is
// bound to, and the sender of the last datagram received on it.

#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "net/udp_socket.h"

namespace kestrin::net {

enum TIdReuseSocket : std::uint8_t { rsOSDependent = 0, rsTrue = 1, rsFalse = 2 };

// What each bound socket asks of the system for its receive queue. That queue
// is the only buffer while the main thread is busy, and the default holds a
// few hundred small datagrams at most. Whatever the system grants is kept.
inline constexpr std::int32_t kReceiveQueueBytes = 8 * 1024 * 1024;

class TIdSocketHandle {
public:
    explicit TIdSocketHandle(std::uint16_t port) : Port(port) {}
    ~TIdSocketHandle() { CloseSocket(); }
    TIdSocketHandle(const TIdSocketHandle&) = delete;
    TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;

    // Local address to bind, empty for the version's wildcard; after binding,
    // the bound address as text.
    std::u16string IP;
    std::uint16_t Port;
    TIdIPVersion IPVersion = Id_IPv4;
    TIdReuseSocket ReuseSocket = rsOSDependent;

    // Written by the binding's listener thread before it hands a datagram to
    // the main thread, read there while that thread waits.
    std::u16string PeerIP;
    std::uint16_t PeerPort = 0;
    TIdIPVersion PeerIPVersion = Id_IPv4;

    // Creates the socket of IPVersion, closing one still held first.
    void AllocateSocket();

    // Address reuse as ReuseSocket says (off unless rsTrue) and, without it,
    // exclusive use of the address; IPv6 traffic only on an IPv6 socket;
    // bind, read the bound address back, then the large receive queue. A
    // failing bind or read-back throws EIdCouldNotBindSocket with the socket
    // error inside; the option calls throw the socket error.
    void Bind();

    // Shuts the sending direction and closes the socket, once; either thread
    // may call it, the second call finds nothing to do.
    void CloseSocket() noexcept;

    bool HandleAllocated() const;
    // The socket, or kNoSocket once closed.
    NativeSocket Handle() const;

    // Receives the datagram waiting on the socket, which stays open for the
    // call: a close from another thread waits for it, so the call never reads
    // a descriptor closed, or already given to another file, under it. Only
    // for a socket found readable; EIdNotASocket once it is closed.
    ReceivedDatagram Receive(std::span<std::byte> buffer);

    bool BroadcastEnabled() const { return broadcastEnabled_; }
    // Stores the value and, when it differs and the socket is open, applies it.
    void SetBroadcastEnabled(bool enabled);

    // Records the sender of the datagram just received.
    void SetPeer(const SocketAddress& sender);

private:
    mutable std::mutex closeLock_;
    SocketHandle socket_;
    bool broadcastEnabled_ = false;
};

}  // namespace kestrin::net
