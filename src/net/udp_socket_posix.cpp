#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "net/platform_socket_layout.h"
#include "net/socket_errno_posix.h"
#include "net/socket_errors.h"
#include "net/udp_socket.h"

namespace kestrin::net {

namespace {

struct Layout {
    using V4 = sockaddr_in;
    using V6 = sockaddr_in6;
    using Storage = sockaddr_storage;
    static constexpr int kFamilyV4 = AF_INET;
    static constexpr int kFamilyV6 = AF_INET6;
    static constexpr OptionName kOptions[] = {
        {SOL_SOCKET, SO_REUSEADDR}, {SOL_SOCKET, SO_BROADCAST}, {SOL_SOCKET, SO_RCVBUF}, {IPPROTO_IPV6, IPV6_V6ONLY}};
};

[[noreturn]] void RaiseLastError() {
    RaiseSocketError(SocketErrorNumberOfErrno(errno));
}

int Fd(NativeSocket socket) {
    return static_cast<int>(socket);
}

void Bind(NativeSocket socket, TIdIPVersion version, std::uint16_t port, bool loopback) {
    const auto address = MakeNativeAddress<Layout>(version, port, loopback);
    if (::bind(Fd(socket), reinterpret_cast<const sockaddr*>(&address.storage),
               static_cast<socklen_t>(address.length)) != 0) {
        RaiseLastError();
    }
}

}  // namespace

SocketHandle CreateDatagramSocket(TIdIPVersion version) {
    const int family = version == Id_IPv4 ? AF_INET : AF_INET6;
    const int fd = ::socket(family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) RaiseLastError();
    return SocketHandle(static_cast<NativeSocket>(fd));
}

void SetSocketOption(NativeSocket socket, SocketOption option, std::int32_t value) {
    const OptionName name = NameOf<Layout>(option);
    if (::setsockopt(Fd(socket), name.level, name.name, &value, sizeof value) != 0) RaiseLastError();
}

std::int32_t GetSocketOption(NativeSocket socket, SocketOption option) {
    const OptionName name = NameOf<Layout>(option);
    std::int32_t value = 0;
    socklen_t length = sizeof value;
    if (::getsockopt(Fd(socket), name.level, name.name, &value, &length) != 0) RaiseLastError();
    return value;
}

void SetExclusiveAddressUse(NativeSocket) {
    // Without address reuse the port is this socket's alone already.
}

bool ExclusiveAddressUse(NativeSocket socket) {
    return GetSocketOption(socket, SocketOption::ReuseAddress) == 0;
}

void BindToWildcard(NativeSocket socket, TIdIPVersion version, std::uint16_t port) {
    Bind(socket, version, port, false);
}

void BindToLoopback(NativeSocket socket, TIdIPVersion version, std::uint16_t port) {
    Bind(socket, version, port, true);
}

SocketAddress LocalAddress(NativeSocket socket) {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (::getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&storage), &length) != 0) RaiseLastError();
    return ToSocketAddress<Layout>(storage);
}

bool WaitReadable(NativeSocket socket, std::chrono::milliseconds timeout) {
    pollfd entry{Fd(socket), POLLIN, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(timeout.count()));
    if (ready < 0) {
        // A signal cut the wait short; the caller waits again as after a time-out.
        if (errno == EINTR) return false;
        RaiseLastError();
    }
    // poll reports a closed descriptor in the entry, where select fails.
    if (ready > 0 && (entry.revents & POLLNVAL) != 0) RaiseSocketError(SocketErrorNumberOfErrno(EBADF));
    return ready > 0;
}

ReceivedDatagram ReceiveFrom(NativeSocket socket, std::span<std::byte> buffer) {
    sockaddr_storage sender{};
    socklen_t senderLength = sizeof sender;
    // MSG_TRUNC makes the call return the datagram's full length, so a
    // datagram cut to the buffer can be told from one that fits.
    const ssize_t length = ::recvfrom(Fd(socket), buffer.data(), buffer.size(), MSG_TRUNC,
                                      reinterpret_cast<sockaddr*>(&sender), &senderLength);
    if (length < 0) RaiseLastError();
    if (static_cast<std::size_t>(length) > buffer.size()) RaiseSocketError(kWSAEMSGSIZE);
    return {static_cast<std::size_t>(length), ToSocketAddress<Layout>(sender)};
}

void SendToLoopback(NativeSocket socket, TIdIPVersion version, std::uint16_t port, std::span<const std::byte> data) {
    const auto address = MakeNativeAddress<Layout>(version, port, true);
    if (::sendto(Fd(socket), data.data(), data.size(), 0, reinterpret_cast<const sockaddr*>(&address.storage),
                 static_cast<socklen_t>(address.length)) < 0) {
        RaiseLastError();
    }
}

void CloseNativeSocket(NativeSocket socket) noexcept {
    // A poll waiting on the socket in another thread takes no notice of
    // close here; shutting the receiving direction as well ends it at once.
    ::shutdown(Fd(socket), SHUT_RDWR);
    ::close(Fd(socket));
}

}  // namespace kestrin::net
