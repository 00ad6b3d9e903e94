#include "net/socket_handle.h"

#include <exception>

#include "net/socket_errors.h"

namespace kestrin::net {

namespace {

// The text getsockname gives back for a wildcard bind; a re-activation finds
// it in IP and binds the wildcard again.
bool IsWildcardText(const std::u16string& ip) {
    return ip.empty() || ip == u"0.0.0.0" || ip == u"0:0:0:0:0:0:0:0";
}

}  // namespace

void TIdSocketHandle::AllocateSocket() {
    CloseSocket();
    SocketHandle created = CreateDatagramSocket(IPVersion);
    std::lock_guard guard(closeLock_);
    socket_ = std::move(created);
}

void TIdSocketHandle::Bind() {
    const NativeSocket socket = Handle();
    SetSocketOption(socket, SocketOption::ReuseAddress, ReuseSocket == rsTrue ? 1 : 0);
    // After reuse is off: Windows refuses exclusive use on a socket that has reuse on.
    if (ReuseSocket != rsTrue) SetExclusiveAddressUse(socket);
    // Windows keeps IPv6 sockets to IPv6 already; Linux shares them with IPv4
    // by default, which would take the IPv4 binding's port.
    if (IPVersion == Id_IPv6) SetSocketOption(socket, SocketOption::IPv6Only, 1);
    try {
        // Only the wildcard address is ever bound; any other text names an
        // address this program cannot have been given.
        if (!IsWildcardText(IP)) RaiseSocketError(kWSAEADDRNOTAVAIL);
        BindToWildcard(socket, IPVersion, Port);
        const SocketAddress bound = LocalAddress(socket);
        IP = bound.ip;
        Port = bound.port;
    } catch (const EIdSocketError&) {
        throw EIdCouldNotBindSocket(std::current_exception());
    }
    try {
        SetSocketOption(socket, SocketOption::ReceiveBufferSize, kReceiveQueueBytes);
    } catch (const EIdSocketError&) {
        // The system's default queue still works; never fail a bind over it.
    }
}

void TIdSocketHandle::CloseSocket() noexcept {
    std::lock_guard guard(closeLock_);
    socket_.Reset();
}

bool TIdSocketHandle::HandleAllocated() const {
    std::lock_guard guard(closeLock_);
    return static_cast<bool>(socket_);
}

NativeSocket TIdSocketHandle::Handle() const {
    std::lock_guard guard(closeLock_);
    return socket_.Get();
}

ReceivedDatagram TIdSocketHandle::Receive(std::span<std::byte> buffer) {
    std::lock_guard guard(closeLock_);
    if (!socket_) throw EIdNotASocket();
    return ReceiveFrom(socket_.Get(), buffer);
}

void TIdSocketHandle::SetBroadcastEnabled(bool enabled) {
    if (enabled == broadcastEnabled_) return;
    broadcastEnabled_ = enabled;
    if (HandleAllocated()) SetSocketOption(Handle(), SocketOption::Broadcast, enabled ? 1 : 0);
}

void TIdSocketHandle::SetPeer(const SocketAddress& sender) {
    PeerIP = sender.ip;
    PeerPort = sender.port;
    PeerIPVersion = sender.ipVersion;
}

}  // namespace kestrin::net
