#include "net/udp_socket.h"

#include <utility>

namespace kestrin::net {

SocketHandle& SocketHandle::operator=(SocketHandle&& other) noexcept {
    if (this != &other) {
        Close();
        socket_ = other.Release();
    }
    return *this;
}

NativeSocket SocketHandle::Release() noexcept {
    return std::exchange(socket_, kNoSocket);
}

void SocketHandle::Close() noexcept {
    if (IsOpen()) CloseNativeSocket(Release());
}

}  // namespace kestrin::net
