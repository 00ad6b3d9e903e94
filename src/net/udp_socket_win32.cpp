#include <winsock2.h>
#include <ws2tcpip.h>

#include "net/platform_socket_layout.h"
#include "net/socket_errors.h"
#include "net/udp_socket.h"
#include "net/winsock_functions_win32.h"

namespace kestrin::net {

namespace {

struct Layout {
    using V4 = sockaddr_in;
    using V6 = sockaddr_in6;
    using Storage = SOCKADDR_STORAGE;
    static constexpr int kFamilyV4 = AF_INET;
    static constexpr int kFamilyV6 = AF_INET6;
    static constexpr OptionName kOptions[] = {
        {SOL_SOCKET, SO_REUSEADDR}, {SOL_SOCKET, SO_BROADCAST}, {SOL_SOCKET, SO_RCVBUF}, {IPPROTO_IPV6, IPV6_V6ONLY}};
};

// Calls a socket function and raises the socket error when it reports failure.
// The error number is fetched through a function looked up before the call,
// so no look-up can disturb it.
template <typename Function, typename Failed, typename... Args>
auto CallChecked(const char* name, Failed failed, Args... args) {
    const auto function = Winsock<Function>(name);
    const auto lastError = Winsock<decltype(::WSAGetLastError)>("WSAGetLastError");
    const auto result = function(args...);
    if (failed(result)) RaiseSocketError(lastError());
    return result;
}

constexpr auto kIsSocketError = [](int result) { return result == SOCKET_ERROR; };

SOCKET Handle(NativeSocket socket) {
    return static_cast<SOCKET>(socket);
}

constexpr OptionName kExclusiveAddressUse{SOL_SOCKET, SO_EXCLUSIVEADDRUSE};

void SetOption(NativeSocket socket, OptionName name, std::int32_t value) {
    CallChecked<decltype(::setsockopt)>("setsockopt", kIsSocketError, Handle(socket), name.level, name.name,
                                        reinterpret_cast<const char*>(&value), static_cast<int>(sizeof value));
}

std::int32_t GetOption(NativeSocket socket, OptionName name) {
    std::int32_t value = 0;
    int length = sizeof value;
    CallChecked<decltype(::getsockopt)>("getsockopt", kIsSocketError, Handle(socket), name.level, name.name,
                                        reinterpret_cast<char*>(&value), &length);
    return value;
}

void Bind(NativeSocket socket, TIdIPVersion version, std::uint16_t port, bool loopback) {
    const auto address = MakeNativeAddress<Layout>(version, port, loopback);
    CallChecked<decltype(::bind)>("bind", kIsSocketError, Handle(socket),
                                  reinterpret_cast<const sockaddr*>(&address.storage), address.length);
}

}  // namespace

SocketHandle CreateDatagramSocket(TIdIPVersion version) {
    const int family = version == Id_IPv4 ? AF_INET : AF_INET6;
    const SOCKET socket = CallChecked<decltype(::socket)>(
        "socket", [](SOCKET result) { return result == INVALID_SOCKET; }, family, SOCK_DGRAM, 0);
    return SocketHandle(static_cast<NativeSocket>(socket));
}

void SetSocketOption(NativeSocket socket, SocketOption option, std::int32_t value) {
    SetOption(socket, NameOf<Layout>(option), value);
}

std::int32_t GetSocketOption(NativeSocket socket, SocketOption option) {
    return GetOption(socket, NameOf<Layout>(option));
}

void SetExclusiveAddressUse(NativeSocket socket) {
    SetOption(socket, kExclusiveAddressUse, 1);
}

bool ExclusiveAddressUse(NativeSocket socket) {
    return GetOption(socket, kExclusiveAddressUse) != 0;
}

void BindToWildcard(NativeSocket socket, TIdIPVersion version, std::uint16_t port) {
    Bind(socket, version, port, false);
}

void BindToLoopback(NativeSocket socket, TIdIPVersion version, std::uint16_t port) {
    Bind(socket, version, port, true);
}

SocketAddress LocalAddress(NativeSocket socket) {
    SOCKADDR_STORAGE storage{};
    int length = sizeof storage;
    CallChecked<decltype(::getsockname)>("getsockname", kIsSocketError, Handle(socket),
                                         reinterpret_cast<sockaddr*>(&storage), &length);
    return ToSocketAddress<Layout>(storage);
}

bool WaitReadable(NativeSocket socket, std::chrono::milliseconds timeout) {
    // Filled by hand: FD_ISSET would call into the library, which is not linked.
    fd_set readSet{};
    readSet.fd_count = 1;
    readSet.fd_array[0] = Handle(socket);
    const long milliseconds = static_cast<long>(timeout.count());
    timeval limit{milliseconds / 1000, milliseconds % 1000 * 1000};
    const int ready = CallChecked<decltype(::select)>("select", kIsSocketError, 0, &readSet, nullptr, nullptr, &limit);
    return ready > 0;
}

ReceivedDatagram ReceiveFrom(NativeSocket socket, std::span<std::byte> buffer) {
    // An oversize datagram fails here with WSAEMSGSIZE, consumed.
    SOCKADDR_STORAGE sender{};
    int senderLength = sizeof sender;
    const int length = CallChecked<decltype(::recvfrom)>("recvfrom", kIsSocketError, Handle(socket),
                                                         reinterpret_cast<char*>(buffer.data()),
                                                         static_cast<int>(buffer.size()), 0,
                                                         reinterpret_cast<sockaddr*>(&sender), &senderLength);
    return {static_cast<std::size_t>(length), ToSocketAddress<Layout>(sender)};
}

void SendToLoopback(NativeSocket socket, TIdIPVersion version, std::uint16_t port, std::span<const std::byte> data) {
    const auto address = MakeNativeAddress<Layout>(version, port, true);
    CallChecked<decltype(::sendto)>("sendto", kIsSocketError, Handle(socket),
                                    reinterpret_cast<const char*>(data.data()), static_cast<int>(data.size()), 0,
                                    reinterpret_cast<const sockaddr*>(&address.storage), address.length);
}

void CloseNativeSocket(NativeSocket socket) noexcept {
    try {
        Winsock<decltype(::shutdown)>("shutdown")(Handle(socket), SD_SEND);
        Winsock<decltype(::closesocket)>("closesocket")(Handle(socket));
    } catch (...) {
        // Without a user of the socket layer the library has ended, and with it every socket.
    }
}

}  // namespace kestrin::net
