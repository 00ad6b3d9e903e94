#include "publicaddr/loopback_socket.h"

#include <utility>

namespace kestrin::test {

LoopbackSocket::LoopbackSocket(LoopbackSocket&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

LoopbackSocket& LoopbackSocket::operator=(LoopbackSocket&& other) noexcept {
    if (this != &other) {
        if (IsOpen()) CloseNative(handle_);
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

LoopbackSocket::~LoopbackSocket() {
    if (IsOpen()) CloseNative(handle_);
}

}  // namespace kestrin::test
