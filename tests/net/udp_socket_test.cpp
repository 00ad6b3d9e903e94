#include "net/udp_socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "net/platform_socket_layout.h"
#include "net/socket_errors.h"
#include "support/bytes.h"
#include "support/expect_error.h"

namespace kestrin::net {
namespace {

using namespace std::chrono_literals;
using kestrin::test::Counting;

constexpr std::size_t kBufferSize = 8192;
// Long enough never to run out on a loaded machine; a datagram that is on its
// way ends the wait at once.
constexpr auto kArrival = 10s;

struct BoundSocket {
    SocketHandle handle;
    std::uint16_t port;
};

BoundSocket Bound(TIdIPVersion version, std::uint16_t port = 0) {
    SocketHandle handle = CreateDatagramSocket(version);
    SetSocketOption(handle.Get(), SocketOption::ReuseAddress, 0);
    if (version == Id_IPv6) SetSocketOption(handle.Get(), SocketOption::IPv6Only, 1);
    BindToWildcard(handle.Get(), version, port);
    const std::uint16_t boundPort = LocalAddress(handle.Get()).port;
    return {std::move(handle), boundPort};
}

class UdpSocketTest : public ::testing::TestWithParam<TIdIPVersion> {
protected:
    void SetUp() override {
        if (GetParam() == Id_IPv6 && !SupportsIPv6()) GTEST_SKIP() << "the system reports no IPv6 support";
    }

    ReceivedDatagram Receive(const BoundSocket& socket, std::vector<std::byte>& buffer) {
        buffer.assign(kBufferSize, std::byte{0xEE});
        EXPECT_TRUE(WaitReadable(socket.handle.Get(), kArrival));
        ReceivedDatagram datagram = ReceiveFrom(socket.handle.Get(), buffer);
        buffer.resize(datagram.length);
        return datagram;
    }

    SocketLayerUse use;
};

TEST_P(UdpSocketTest, ADatagramArrivesWithItsSendersAddressText) {
    const BoundSocket receiver = Bound(GetParam());
    const SocketAddress local = LocalAddress(receiver.handle.Get());
    EXPECT_EQ(local.ipVersion, GetParam());
    EXPECT_EQ(local.ip, GetParam() == Id_IPv4 ? u"0.0.0.0" : u"0:0:0:0:0:0:0:0");
    EXPECT_NE(receiver.port, 0);

    const BoundSocket sender = Bound(GetParam());
    const auto sent = Counting(5, 'a');
    SendToLoopback(sender.handle.Get(), GetParam(), receiver.port, sent);

    std::vector<std::byte> buffer;
    const ReceivedDatagram datagram = Receive(receiver, buffer);
    EXPECT_EQ(buffer, sent);
    EXPECT_EQ(datagram.sender.ipVersion, GetParam());
    EXPECT_EQ(datagram.sender.ip, GetParam() == Id_IPv4 ? u"127.0.0.1" : u"0:0:0:0:0:0:0:1");
    EXPECT_EQ(datagram.sender.port, sender.port);
}

TEST_P(UdpSocketTest, DatagramsUpToTheBufferArriveWholeAndLongerOnesFail) {
    const BoundSocket receiver = Bound(GetParam());
    const BoundSocket sender = Bound(GetParam());
    for (const std::size_t size : {std::size_t{0}, kBufferSize, kBufferSize + 1, std::size_t{1}}) {
        SendToLoopback(sender.handle.Get(), GetParam(), receiver.port, Counting(size, static_cast<unsigned char>(size)));
    }
    std::vector<std::byte> buffer;
    EXPECT_EQ(Receive(receiver, buffer).length, 0u);
    Receive(receiver, buffer);
    EXPECT_EQ(buffer, Counting(kBufferSize, static_cast<unsigned char>(kBufferSize)));

    buffer.assign(kBufferSize, std::byte{});
    ASSERT_TRUE(WaitReadable(receiver.handle.Get(), kArrival));
    EXPECT_THROW_MSG(ReceiveFrom(receiver.handle.Get(), buffer), EIdSocketError,
                     u"Socket-Fehler # 10040Nachricht zu lang.\r\n");
    // The oversize datagram is gone; the next one is the one behind it.
    Receive(receiver, buffer);
    EXPECT_EQ(buffer, Counting(1, 1));
}

TEST_P(UdpSocketTest, WaitingRunsOutWhenNothingArrives) {
    const BoundSocket receiver = Bound(GetParam());
    EXPECT_FALSE(WaitReadable(receiver.handle.Get(), 0ms));
    EXPECT_FALSE(WaitReadable(receiver.handle.Get(), 20ms));
}

TEST_P(UdpSocketTest, APortHeldByAnotherSocketIsAddressInUse) {
    const BoundSocket holder = Bound(GetParam());
    EXPECT_THROW_MSG(Bound(GetParam(), holder.port), EIdSocketError,
                     u"Socket-Fehler # 10048Adresse wird bereits verwendet.\r\n");
}

TEST_P(UdpSocketTest, OptionsReadBackAsSet) {
    const SocketHandle socket = CreateDatagramSocket(GetParam());
    for (const std::int32_t value : {1, 0}) {
        SetSocketOption(socket.Get(), SocketOption::Broadcast, value);
        EXPECT_EQ(GetSocketOption(socket.Get(), SocketOption::Broadcast) != 0, value != 0);
    }
    // The system may round the queue up (Linux doubles it), never down below a modest request.
    constexpr std::int32_t kQueueBytes = 64 * 1024;
    SetSocketOption(socket.Get(), SocketOption::ReceiveBufferSize, kQueueBytes);
    EXPECT_GE(GetSocketOption(socket.Get(), SocketOption::ReceiveBufferSize), kQueueBytes);
}

TEST_P(UdpSocketTest, WaitingOnAClosedSocketFails) {
    SocketHandle socket = CreateDatagramSocket(GetParam());
    const NativeSocket stale = socket.Get();
    socket.Reset();
    EXPECT_FALSE(socket);
    EXPECT_THROW(WaitReadable(stale, 0ms), EIdSocketError);
}

INSTANTIATE_TEST_SUITE_P(BothVersions, UdpSocketTest, ::testing::Values(Id_IPv4, Id_IPv6),
                         [](const auto& param) { return param.param == Id_IPv4 ? "IPv4" : "IPv6"; });

TEST(UdpSocketSharingTest, IPv4AndIPv6OnlySocketsShareAPort) {
    SocketLayerUse use;
    if (!SupportsIPv6()) GTEST_SKIP() << "the system reports no IPv6 support";
    const BoundSocket v4 = Bound(Id_IPv4);
    const BoundSocket v6 = Bound(Id_IPv6, v4.port);
    EXPECT_EQ(v6.port, v4.port);
}

// A family that no real socket here produces; the layout is a stand-in.
struct ForeignLayout {
    struct V4 {
        int sin_family, sin_port, sin_addr;
    };
    struct V6 {
        int sin6_family, sin6_port, sin6_addr;
    };
    struct Storage {
        int ss_family;
        char rest[124];
    };
    static constexpr int kFamilyV4 = 2;
    static constexpr int kFamilyV6 = 10;
};

TEST(UdpSocketSharingTest, ASenderOfAnotherFamilyIsUnsupported) {
    ForeignLayout::Storage storage{};
    storage.ss_family = 1;
    EXPECT_THROW_MSG(ToSocketAddress<ForeignLayout>(storage), EIdIPVersionUnsupported,
                     u"Die angeforderte IPVersion-/Adress-Familie wird nicht unterst\u00FCtzt.");
}

}  // namespace
}  // namespace kestrin::net
