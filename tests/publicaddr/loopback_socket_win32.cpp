#include <winsock2.h>
#include <ws2tcpip.h>

#include <stdexcept>

#include "publicaddr/loopback_socket.h"

namespace kestrin::test {

namespace {

// Winsock stays started for the rest of the test program.
void StartWinsockOnce() {
    static const int started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data);
    }();
    if (started != 0) throw std::runtime_error("WSAStartup failed");
}

SOCKET Handle(std::intptr_t handle) { return static_cast<SOCKET>(handle); }

sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    return address;
}

std::intptr_t NewSocket() {
    StartWinsockOnce();
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return socket == INVALID_SOCKET ? -1 : static_cast<std::intptr_t>(socket);
}

std::intptr_t BoundSocket() {
    const std::intptr_t handle = NewSocket();
    if (handle == -1) throw std::runtime_error("socket failed");
    const sockaddr_in address = LoopbackAddress(0);
    if (::bind(Handle(handle), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::closesocket(Handle(handle));
        throw std::runtime_error("bind failed");
    }
    return handle;
}

}  // namespace

LoopbackSocket LoopbackSocket::Listen() {
    LoopbackSocket socket(BoundSocket());
    if (::listen(Handle(socket.Get()), SOMAXCONN) != 0) throw std::runtime_error("listen failed");
    return socket;
}

LoopbackSocket LoopbackSocket::BindOnly() { return LoopbackSocket(BoundSocket()); }

LoopbackSocket LoopbackSocket::Connect(std::uint16_t port) {
    LoopbackSocket socket(NewSocket());
    const sockaddr_in address = LoopbackAddress(port);
    if (socket.IsOpen() &&
        ::connect(Handle(socket.Get()), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return {};
    }
    return socket;
}

std::uint16_t LoopbackSocket::Port() const {
    sockaddr_in address{};
    int length = sizeof address;
    ::getsockname(Handle(Get()), reinterpret_cast<sockaddr*>(&address), &length);
    return ::ntohs(address.sin_port);
}

LoopbackSocket LoopbackSocket::Accept() const {
    const SOCKET socket = ::accept(Handle(Get()), nullptr, nullptr);
    return socket == INVALID_SOCKET ? LoopbackSocket() : LoopbackSocket(static_cast<Native>(socket));
}

bool LoopbackSocket::HasPendingConnection() const {
    fd_set readable{};
    readable.fd_count = 1;
    readable.fd_array[0] = Handle(Get());
    timeval now{0, 0};
    return ::select(0, &readable, nullptr, nullptr, &now) > 0;
}

std::ptrdiff_t LoopbackSocket::Receive(char* buffer, std::size_t size) const {
    const int count = ::recv(Handle(Get()), buffer, static_cast<int>(size), 0);
    return count == SOCKET_ERROR ? -1 : count;
}

bool LoopbackSocket::SendAll(std::string_view bytes) const {
    while (!bytes.empty()) {
        const int count = ::send(Handle(Get()), bytes.data(), static_cast<int>(bytes.size()), 0);
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

void LoopbackSocket::ShutdownSending() const { ::shutdown(Handle(Get()), SD_SEND); }

void LoopbackSocket::CloseNative(Native handle) noexcept { ::closesocket(Handle(handle)); }

}  // namespace kestrin::test
