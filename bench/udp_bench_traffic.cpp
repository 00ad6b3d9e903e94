#include "udp_bench_traffic.h"

#include "net/socket_handle.h"

namespace kestrin::bench {

namespace {

constexpr auto kStandStill = std::chrono::milliseconds(500);
constexpr std::size_t kReceiveBufferBytes = 8192;  // the server's BufferSize

// An IPv4 socket on a port of the system's choosing, with the receive queue
// the server asks for.
net::SocketHandle BoundLikeTheServer(std::uint16_t& port) {
    net::SocketHandle socket = net::CreateDatagramSocket(net::Id_IPv4);
    net::BindToWildcard(socket.Get(), net::Id_IPv4, 0);
    port = net::LocalAddress(socket.Get()).port;
    try {
        net::SetSocketOption(socket.Get(), net::SocketOption::ReceiveBufferSize, net::kReceiveQueueBytes);
    } catch (...) {
        // As the server does: the default queue still receives.
    }
    return socket;
}

}  // namespace

Sender::Sender(std::uint16_t port, std::span<const std::byte> datagram, Traffic traffic)
    : socket_(net::CreateDatagramSocket(net::Id_IPv4)), thread_(&Sender::Run, this, port, datagram, traffic) {}

Sender::~Sender() {
    thread_.join();
}

void Sender::Run(std::uint16_t port, std::span<const std::byte> datagram, Traffic traffic) {
    started_ = SteadyClock::now();
    const auto stopAt = started_ + traffic.duration;
    for (std::uint64_t i = 0; traffic.count == 0 || i < traffic.count; ++i) {
        if (traffic.rate > 0) {
            // Due times from the start, so that a late wake-up is made up
            // for by the next sends rather than lowering the rate.
            const auto due = started_ + std::chrono::duration_cast<SteadyClock::duration>(
                                            std::chrono::duration<double>(static_cast<double>(i) / traffic.rate));
            if (SteadyClock::now() < due) std::this_thread::sleep_until(due);
        }
        if (traffic.count == 0 && SteadyClock::now() >= stopAt) break;
        try {
            net::SendToLoopback(socket_.Get(), net::Id_IPv4, port, datagram);
            sent_.fetch_add(1, std::memory_order_relaxed);
        } catch (...) {
            // A full send queue; the datagram counts as never sent.
            failed_.fetch_add(1, std::memory_order_relaxed);
        }
    }
    ended_ = SteadyClock::now();
    finished_.store(true, std::memory_order_release);
}

BareReceiver::BareReceiver() : socket_(BoundLikeTheServer(port_)) {
    thread_ = std::thread(&BareReceiver::Run, this);
}

BareReceiver::~BareReceiver() {
    const net::SocketHandle stopper = net::CreateDatagramSocket(net::Id_IPv4);
    net::SendToLoopback(stopper.Get(), net::Id_IPv4, port_, {});
    thread_.join();
}

SteadyClock::time_point BareReceiver::LastArrival() const {
    return SteadyClock::time_point(SteadyClock::duration(lastArrival_.load(std::memory_order_acquire)));
}

void BareReceiver::Run() {
    std::vector<std::byte> buffer(kReceiveBufferBytes);
    while (true) {
        net::ReceivedDatagram datagram;
        try {
            datagram = net::ReceiveFrom(socket_.Get(), buffer);
        } catch (...) {
            return;
        }
        if (datagram.length == 0) return;  // the destructor's stop signal
        lastArrival_.store(SteadyClock::now().time_since_epoch().count(), std::memory_order_relaxed);
        received_.fetch_add(1, std::memory_order_release);
    }
}

std::uint64_t QueueDepth(std::span<const std::byte> datagram, std::uint64_t tries) {
    std::uint16_t port = 0;
    const net::SocketHandle receiver = BoundLikeTheServer(port);
    const net::SocketHandle sender = net::CreateDatagramSocket(net::Id_IPv4);
    for (std::uint64_t i = 0; i < tries; ++i) {
        try {
            net::SendToLoopback(sender.Get(), net::Id_IPv4, port, datagram);
        } catch (...) {
            // Counted by what arrives.
        }
    }
    std::vector<std::byte> buffer(kReceiveBufferBytes);
    std::uint64_t queued = 0;
    while (net::WaitReadable(receiver.Get(), std::chrono::milliseconds(100))) {
        net::ReceiveFrom(receiver.Get(), buffer);
        ++queued;
    }
    return queued;
}

bool Settle::Over(bool senderFinished, std::uint64_t sent, std::uint64_t arrived) {
    const auto now = SteadyClock::now();
    if (arrived != seen_) {
        seen_ = arrived;
        since_ = now;
    }
    if (!senderFinished) return false;
    return arrived >= sent || now - since_ >= kStandStill;
}

}  // namespace kestrin::bench
