#pragma once
// Just enough TCP on 127.0.0.1 for the tests' own HTTP server: the platform
// parts wrap BSD sockets or Winsock. Every socket closes with its object.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/unique_handle.h"

namespace kestrin::test {

class LoopbackSocket {
public:
    LoopbackSocket() = default;

    // Listening at a port the system picks. Throws std::runtime_error.
    static LoopbackSocket Listen();
    // Bound to a port the system picks but not listening: while it lives,
    // a connection to its port is refused at once.
    static LoopbackSocket BindOnly();
    // Connected to the port, or not open when that fails.
    static LoopbackSocket Connect(std::uint16_t port);

    bool IsOpen() const noexcept { return static_cast<bool>(socket_); }
    std::uint16_t Port() const;

    // The next connection; not open when accepting fails.
    LoopbackSocket Accept() const;
    // Whether a connection waits to be accepted, without waiting for one.
    bool HasPendingConnection() const;
    // Bytes received into `buffer`, 0 at the end of the stream, -1 on failure.
    std::ptrdiff_t Receive(char* buffer, std::size_t size) const;
    bool SendAll(std::string_view bytes) const;
    // Ends the sending direction: the peer reads the end of the stream.
    void ShutdownSending() const;

private:
    // A SOCKET or a descriptor; both fit, and -1 means none on both.
    using Native = std::intptr_t;

    explicit LoopbackSocket(Native handle) noexcept : socket_(handle) {}
    static void CloseNative(Native handle) noexcept;
    Native Get() const noexcept { return socket_.Get(); }

    base::UniqueHandle<Native, &CloseNative> socket_;
};

}  // namespace kestrin::test
