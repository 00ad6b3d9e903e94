#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "publicaddr/loopback_socket.h"

namespace kestrin::test {

namespace {

sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int BoundSocket() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    const sockaddr_in address = LoopbackAddress(0);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("bind failed");
    }
    return fd;
}

}  // namespace

LoopbackSocket LoopbackSocket::Listen() {
    LoopbackSocket socket(BoundSocket());
    if (::listen(static_cast<int>(socket.Get()), SOMAXCONN) != 0) throw std::runtime_error("listen failed");
    return socket;
}

LoopbackSocket LoopbackSocket::BindOnly() { return LoopbackSocket(BoundSocket()); }

LoopbackSocket LoopbackSocket::Connect(std::uint16_t port) {
    LoopbackSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in address = LoopbackAddress(port);
    if (socket.IsOpen() &&
        ::connect(static_cast<int>(socket.Get()), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return {};
    }
    return socket;
}

std::uint16_t LoopbackSocket::Port() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(static_cast<int>(Get()), reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

LoopbackSocket LoopbackSocket::Accept() const {
    for (;;) {
        const int fd = ::accept4(static_cast<int>(Get()), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0 || errno != EINTR) return LoopbackSocket(fd);
    }
}

bool LoopbackSocket::HasPendingConnection() const {
    pollfd entry{static_cast<int>(Get()), POLLIN, 0};
    return ::poll(&entry, 1, 0) > 0;
}

std::ptrdiff_t LoopbackSocket::Receive(char* buffer, std::size_t size) const {
    for (;;) {
        const ssize_t count = ::recv(static_cast<int>(Get()), buffer, size, 0);
        if (count >= 0 || errno != EINTR) return count;
    }
}

bool LoopbackSocket::SendAll(std::string_view bytes) const {
    while (!bytes.empty()) {
        // No SIGPIPE when the client has gone: the send just fails.
        const ssize_t count = ::send(static_cast<int>(Get()), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

void LoopbackSocket::ShutdownSending() const { ::shutdown(static_cast<int>(Get()), SHUT_WR); }

void LoopbackSocket::CloseNative(Native handle) noexcept { ::close(static_cast<int>(handle)); }

}  // namespace kestrin::test
