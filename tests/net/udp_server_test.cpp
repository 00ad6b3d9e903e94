#include "net/udp_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "listener_fixture.h"
#include "net/main_thread_queue.h"
#include "net/socket_errors.h"
#include "support/trace.h"

namespace kestrin::net::test {
namespace {

struct Received {
    std::vector<std::byte> data;
    std::u16string peerIP;
    TIdIPVersion bindingVersion;
};

// Keeps what its read step got; throws for datagrams that start with "fail".
class RecordingServer final : public TIdUDPServer {
public:
    RecordingServer() {
        OnUDPException = [this](TIdUDPServer&, TIdUDPListenerThread&, TIdSocketHandle&, const std::u16string& message,
                                const std::type_info*) { errors.push_back(message); };
    }
    ~RecordingServer() override { Deactivate(); }

    std::vector<Received> received;
    std::vector<std::u16string> errors;
    bool inReadStep = false;
    bool overlapped = false;
    std::function<void()> duringRead;

    std::uint16_t PortOf(TIdIPVersion version) const {
        for (const auto& binding : Bindings()) {
            if (binding->IPVersion == version) return binding->Port;
        }
        ADD_FAILURE() << "no binding of version " << int(version);
        return 0;
    }

protected:
    void DoUDPRead(TIdUDPListenerThread&, std::span<const std::byte> data, TIdSocketHandle& binding) override {
        if (inReadStep) overlapped = true;
        inReadStep = true;
        received.push_back({{data.begin(), data.end()}, binding.PeerIP, binding.IPVersion});
        if (duringRead) duringRead();
        const bool fail = data.size() >= 4 && data[0] == std::byte{'f'} && data[1] == std::byte{'a'};
        inReadStep = false;
        if (fail) throw std::runtime_error("handler failed");
    }
};

class UdpServerTest : public ListenerTest {
protected:
    void Activate() {
        server.DefaultPort = 0;
        server.Name = u"IdSyslogServer1";
        server.SetActive(true);
    }

    bool Got(std::size_t count) {
        return RunUntil([&] { return server.received.size() + server.errors.size() >= count; });
    }

    RecordingServer server;
};

TEST_F(UdpServerTest, FirstActivationBindsBothVersionsOnPortsTheSystemChose) {
    Activate();
    ASSERT_TRUE(server.Active());
    const auto& bindings = server.Bindings();
    ASSERT_EQ(bindings.size(), HasIPv6() ? 2u : 1u);
    EXPECT_EQ(bindings[0]->IPVersion, Id_IPv4);
    EXPECT_EQ(server.CurrentBinding(), bindings[0].get());
    EXPECT_EQ(bindings[0]->IP, u"0.0.0.0");
    for (const auto& binding : bindings) {
        EXPECT_NE(binding->Port, 0);
        EXPECT_TRUE(binding->HandleAllocated());
        EXPECT_EQ(binding->ReuseSocket, rsOSDependent);
        EXPECT_EQ(GetSocketOption(binding->Handle(), SocketOption::ReuseAddress), 0);
    }
    if (HasIPv6()) {
        EXPECT_EQ(bindings[1]->IPVersion, Id_IPv6);
        EXPECT_EQ(bindings[1]->IP, u"0:0:0:0:0:0:0:0");
        EXPECT_NE(GetSocketOption(bindings[1]->Handle(), SocketOption::IPv6Only), 0);
    }
    std::vector<std::u16string> names{u"IdSyslogServer1 Listener #1"};
    if (HasIPv6()) names.push_back(u"IdSyslogServer1 Listener #2");
    EXPECT_EQ(server.ListenerThreadNames(), names);
}

TEST_F(UdpServerTest, NoOtherSocketJoinsTheListenersPortOnOneAddress) {
    Activate();
    for (const auto& binding : server.Bindings()) {
        SCOPED_TRACE(int(binding->IPVersion));
        EXPECT_TRUE(ExclusiveAddressUse(binding->Handle()));
        // Another program binds the loopback address alone, asking for address reuse or not.
        for (const std::int32_t reuse : {0, 1}) {
            const SocketHandle other = CreateDatagramSocket(binding->IPVersion);
            if (binding->IPVersion == Id_IPv6) SetSocketOption(other.Get(), SocketOption::IPv6Only, 1);
            SetSocketOption(other.Get(), SocketOption::ReuseAddress, reuse);
            EXPECT_THROW(BindToLoopback(other.Get(), binding->IPVersion, binding->Port), EIdSocketError);
        }
    }
}

TEST_F(UdpServerTest, IPv6FirstWhenTheServerSaysSo) {
    if (!HasIPv6()) GTEST_SKIP() << "the system reports no IPv6 support";
    server.IPVersion = Id_IPv6;
    Activate();
    ASSERT_EQ(server.Bindings().size(), 2u);
    EXPECT_EQ(server.Bindings()[0]->IPVersion, Id_IPv6);
    EXPECT_EQ(server.Bindings()[1]->IPVersion, Id_IPv4);
    EXPECT_EQ(server.CurrentBinding(), server.Bindings()[0].get());
}

TEST_F(UdpServerTest, ThreadsOfAnUnnamedServerCarryTheGenericName) {
    server.DefaultPort = 0;
    server.SetActive(true);
    ASSERT_FALSE(server.ListenerThreadNames().empty());
    EXPECT_EQ(server.ListenerThreadNames().front(), u"IdUDPServer Listener #1");
}

TEST_F(UdpServerTest, BoundSocketsGetBroadcastAndTheLargeReceiveQueue) {
    server.SetBroadcastEnabled(true);
    Activate();
    for (const auto& binding : server.Bindings()) {
        SCOPED_TRACE(int(binding->IPVersion));
        EXPECT_TRUE(binding->BroadcastEnabled());
        EXPECT_NE(GetSocketOption(binding->Handle(), SocketOption::Broadcast), 0);
        // The system keeps what it grants; it must be more than a fresh socket's default.
        const SocketHandle fresh = CreateDatagramSocket(binding->IPVersion);
        EXPECT_GT(GetSocketOption(binding->Handle(), SocketOption::ReceiveBufferSize),
                  GetSocketOption(fresh.Get(), SocketOption::ReceiveBufferSize));
    }
    // A change while active reaches every socket at once.
    server.SetBroadcastEnabled(false);
    for (const auto& binding : server.Bindings()) {
        EXPECT_EQ(GetSocketOption(binding->Handle(), SocketOption::Broadcast), 0);
    }
}

TEST_F(UdpServerTest, DatagramsArriveThroughTheBindingOfTheirOwnVersion) {
    Activate();
    Send(Id_IPv4, server.PortOf(Id_IPv4), Bytes("to v4"));
    ASSERT_TRUE(Got(1));
    if (HasIPv6()) {
        Send(Id_IPv6, server.PortOf(Id_IPv6), Bytes("to v6"));
        ASSERT_TRUE(Got(2));
    }
    ASSERT_EQ(server.received.size(), HasIPv6() ? 2u : 1u);
    EXPECT_EQ(server.received[0].data, Bytes("to v4"));
    EXPECT_EQ(server.received[0].peerIP, u"127.0.0.1");
    EXPECT_EQ(server.received[0].bindingVersion, Id_IPv4);
    if (HasIPv6()) {
        EXPECT_EQ(server.received[1].data, Bytes("to v6"));
        EXPECT_EQ(server.received[1].peerIP, u"0:0:0:0:0:0:0:1");
        EXPECT_EQ(server.received[1].bindingVersion, Id_IPv6);
    }
    EXPECT_TRUE(server.errors.empty());
}

TEST_F(UdpServerTest, DatagramsOfBothBindingsAreHandledOneAtATime) {
    if (!HasIPv6()) GTEST_SKIP() << "the system reports no IPv6 support";
    Activate();
    constexpr std::size_t kEach = 50;
    for (std::size_t i = 0; i < kEach; ++i) {
        Send(Id_IPv4, server.PortOf(Id_IPv4), Bytes("v4"));
        Send(Id_IPv6, server.PortOf(Id_IPv6), Bytes("v6"));
    }
    ASSERT_TRUE(Got(2 * kEach));
    EXPECT_FALSE(server.overlapped);
}

TEST_F(UdpServerTest, DatagramSizesAtTheEdgesOfTheBuffer) {
    Activate();
    const std::uint16_t port = server.PortOf(Id_IPv4);
    // Each size is followed by a marker, so a datagram that never arrives
    // shows as the marker arriving in its place.
    Send(Id_IPv4, port, Filled(0));
    Send(Id_IPv4, port, Filled(8192));
    Send(Id_IPv4, port, Filled(8193));
    Send(Id_IPv4, port, Bytes("marker"));
    ASSERT_TRUE(RunUntil([&] { return !server.received.empty() && server.received.back().data == Bytes("marker"); }));
    ASSERT_EQ(server.received.size(), 3u);
    EXPECT_TRUE(server.received[0].data.empty());
    EXPECT_EQ(server.received[1].data, Filled(8192));
    // The oversize datagram reached the error step as 10040, never the read step cut short.
    ASSERT_EQ(server.errors.size(), 1u);
    EXPECT_EQ(server.errors[0], SocketErrorMessage(kWSAEMSGSIZE));
}

TEST_F(UdpServerTest, AnErrorInTheReadStepDropsThatDatagramOnly) {
    Activate();
    const std::uint16_t port = server.PortOf(Id_IPv4);
    Send(Id_IPv4, port, Bytes("fail first"));
    Send(Id_IPv4, port, Bytes("second"));
    ASSERT_TRUE(RunUntil([&] { return server.received.size() == 2; }));
    EXPECT_EQ(server.received[1].data, Bytes("second"));
    EXPECT_EQ(server.errors, std::vector<std::u16string>{u"handler failed"});
    EXPECT_TRUE(server.Active());
}

TEST_F(UdpServerTest, ActiveSemantics) {
    EXPECT_FALSE(server.Active());
    server.SetActive(false);  // inactive: nothing happens
    EXPECT_FALSE(server.Active());
    Activate();
    const std::uint16_t port = server.Bindings()[0]->Port;
    const NativeSocket socket = server.Bindings()[0]->Handle();
    server.SetActive(true);  // active already: nothing happens
    EXPECT_EQ(server.Bindings()[0]->Handle(), socket);
    EXPECT_EQ(server.ListenerThreadNames().size(), server.Bindings().size());

    server.DefaultPort = 0;
    server.IPVersion = Id_IPv6;  // consulted only when there are no bindings
    server.SetActive(false);
    EXPECT_FALSE(server.Active());
    EXPECT_EQ(server.CurrentBinding(), nullptr);
    EXPECT_TRUE(server.ListenerThreadNames().empty());
    ASSERT_EQ(server.Bindings().size(), HasIPv6() ? 2u : 1u);
    for (const auto& binding : server.Bindings()) EXPECT_FALSE(binding->HandleAllocated());

    // Re-activation binds the kept bindings again, on the same ports, with
    // new threads counted from 1.
    server.SetActive(true);
    ASSERT_TRUE(server.Active());
    EXPECT_EQ(server.Bindings()[0]->IPVersion, Id_IPv4);
    EXPECT_EQ(server.Bindings()[0]->Port, port);
    ASSERT_FALSE(server.ListenerThreadNames().empty());
    EXPECT_EQ(server.ListenerThreadNames().front(), u"IdSyslogServer1 Listener #1");
    Send(Id_IPv4, port, Bytes("after re-activation"));
    ASSERT_TRUE(Got(1));
    EXPECT_EQ(server.received[0].data, Bytes("after re-activation"));
}

TEST_F(UdpServerTest, DeactivationEndsWaitingThreadsPromptly) {
    Activate();
    // Closing the sockets ends the threads' readiness waits at once; a stop
    // that only waited for them would take up to a second a round, so twenty
    // rounds would need far more than the bound, which leaves wide room for
    // a slow machine.
    constexpr unsigned kRounds = 20;
    std::chrono::steady_clock::duration stopping{};
    for (unsigned round = 0; round < kRounds; ++round) {
        // A handled datagram proves the thread is back in its readiness wait.
        Send(Id_IPv4, server.PortOf(Id_IPv4), Bytes("wake"));
        ASSERT_TRUE(Got(round + 1));
        const auto start = std::chrono::steady_clock::now();
        server.SetActive(false);
        stopping += std::chrono::steady_clock::now() - start;
        server.SetActive(true);
    }
    EXPECT_LT(stopping, 5s);
}

TEST_F(UdpServerTest, DeactivationRunsADeliveryThatIsQueuedAndDoesNotDeadlock) {
    Activate();
    Send(Id_IPv4, server.PortOf(Id_IPv4), Bytes("queued"));
    // Wait, without running it, until the listener thread has queued the delivery.
    ASSERT_TRUE(WaitForRequests(kPatience));
    EXPECT_TRUE(server.received.empty());
    server.SetActive(false);
    ASSERT_EQ(server.received.size(), 1u);
    EXPECT_EQ(server.received[0].data, Bytes("queued"));
    EXPECT_FALSE(RequestsQueued());
}

// Fault: a close sent to the program while a delivery waited for the shell
// deactivated the listener inside it, waiting for the very thread whose
// delivery was still on the stack: the program hung for ever.
TEST_F(UdpServerTest, ADeactivationAskedForInsideADeliveryRunsOnceItHasReturned) {
    Activate();
    bool deactivatedInside = false;
    server.duringRead = [&] {
        AfterDelivery([&] { server.SetActive(false); });
        deactivatedInside = !server.Active();
    };
    Send(Id_IPv4, server.PortOf(Id_IPv4), Bytes("close now"));
    ASSERT_TRUE(RunUntil([&] { return !server.Active(); }));
    EXPECT_FALSE(deactivatedInside);
    EXPECT_EQ(server.received.size(), 1u);
    EXPECT_TRUE(server.ListenerThreadNames().empty());
}

TEST_F(UdpServerTest, AThreadThatEndsOnAnErrorLeavesTheServerInactiveAndRestartable) {
    Activate();
    // The current binding's socket vanishes under its thread: the thread's
    // next wait fails, it ends, and Active reads false.
    server.Bindings()[0]->CloseSocket();
    EXPECT_FALSE(server.Active());
    server.SetActive(false);  // ends the other binding's thread too
    EXPECT_TRUE(server.ListenerThreadNames().empty());
    server.SetActive(true);
    ASSERT_TRUE(server.Active());
    Send(Id_IPv4, server.PortOf(Id_IPv4), Bytes("again"));
    ASSERT_TRUE(Got(1));
}

// Holds a port on one IP version with another socket, as another program would.
struct PortHolder {
    SocketHandle socket;
    std::uint16_t port;
};

PortHolder HoldPort(TIdIPVersion version, std::uint16_t port) {
    SocketHandle socket = CreateDatagramSocket(version);
    if (version == Id_IPv6) SetSocketOption(socket.Get(), SocketOption::IPv6Only, 1);
    BindToWildcard(socket.Get(), version, port);
    const std::uint16_t bound = LocalAddress(socket.Get()).port;
    return {std::move(socket), bound};
}

TEST_F(UdpServerTest, APortHeldByAnotherSocketFailsActivationAndClosesWhatItOpened) {
    // With IPv6 the conflict is on the second binding, so the first one was
    // already bound when activation fails.
    const TIdIPVersion held = HasIPv6() ? Id_IPv6 : Id_IPv4;
    const std::uint16_t port = HoldPort(Id_IPv4, 0).port;  // free on IPv4 again once this returns
    const PortHolder holder = HoldPort(held, port);

    server.DefaultPort = port;
    try {
        server.SetActive(true);
        FAIL() << "activation succeeded on a port in use";
    } catch (const EIdCouldNotBindSocket& error) {
        EXPECT_EQ(error.Message(), u"Socket konnte nicht gebunden werden.");
        ASSERT_NE(error.InnerCause(), nullptr);
        try {
            std::rethrow_exception(error.InnerCause());
        } catch (const EIdSocketError& inner) {
            EXPECT_EQ(inner.ErrorNumber(), kWSAEADDRINUSE);
            EXPECT_EQ(inner.Message(), u"Socket-Fehler # 10048Adresse wird bereits verwendet.\r\n");
        }
    }
    EXPECT_FALSE(server.Active());
    EXPECT_EQ(server.CurrentBinding(), nullptr);
    EXPECT_TRUE(server.ListenerThreadNames().empty());
    for (const auto& binding : server.Bindings()) EXPECT_FALSE(binding->HandleAllocated());
    if (held == Id_IPv6) {
        // The IPv4 socket bound before the failure has let the port go.
        EXPECT_NO_THROW(HoldPort(Id_IPv4, port));
    }
}

}  // namespace
}  // namespace kestrin::net::test
