#pragma once
// What the listener tests share: a main loop that plays the program's main
// thread, and senders that play the devices on the loopback addresses.

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "net/socket_layer.h"
#include "net/udp_socket.h"
#include "support/bytes.h"
#include "support/main_loop.h"

namespace kestrin::net::test {

using namespace std::chrono_literals;

// Long enough never to run out on a loaded machine; waits end as soon as
// what they wait for has happened.
inline constexpr auto kPatience = 20s;

using kestrin::test::Bytes;
using kestrin::test::Filled;

class ListenerTest : public ::testing::Test {
protected:
    // Sends one datagram from a fresh socket to the loopback address of `version`.
    void Send(TIdIPVersion version, std::uint16_t port, const std::vector<std::byte>& data) {
        SocketHandle sender = CreateDatagramSocket(version);
        SendToLoopback(sender.Get(), version, port, data);
    }

    bool RunUntil(const std::function<bool()>& done) { return loop.RunUntil(done, kPatience); }

    static bool HasIPv6() { return SupportsIPv6(); }

    SocketLayerUse use;
    kestrin::test::MainLoop loop;
};

}  // namespace kestrin::net::test
