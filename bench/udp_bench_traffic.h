#pragma once
// The traffic side of the UDP benchmark: a sender thread that plays a device
// on the loopback address, the bare receive loop that shows what the system
// alone allows, and the rule that decides when a run's stragglers are in.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <thread>
#include <vector>

#include "net/socket_layer.h"
#include "net/udp_socket.h"

namespace kestrin::bench {

using SteadyClock = std::chrono::steady_clock;

// What a sender does: `count` datagrams, or with count 0 as many as fit into
// `duration`; `rate` per second, or back to back when 0.
struct Traffic {
    std::uint64_t count = 0;
    double rate = 0;
    std::chrono::milliseconds duration{0};
};

// Sends one datagram over and over to 127.0.0.1 from a socket of its own, on
// a thread of its own, from construction on. Hold a SocketLayerUse meanwhile.
class Sender {
public:
    Sender(std::uint16_t port, std::span<const std::byte> datagram, Traffic traffic);
    ~Sender();
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;

    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Both count as far as the sender got; final once Finished.
    std::uint64_t Sent() const { return sent_.load(std::memory_order_acquire); }
    std::uint64_t Failed() const { return failed_.load(std::memory_order_acquire); }
    // Read once Finished.
    SteadyClock::time_point Started() const { return started_; }
    double SendSeconds() const { return std::chrono::duration<double>(ended_ - started_).count(); }

private:
    void Run(std::uint16_t port, std::span<const std::byte> datagram, Traffic traffic);

    std::atomic<bool> finished_{false};
    std::atomic<std::uint64_t> sent_{0};
    std::atomic<std::uint64_t> failed_{0};
    SteadyClock::time_point started_;
    SteadyClock::time_point ended_;
    net::SocketHandle socket_;
    std::thread thread_;  // last: it starts once everything above is made
};

// A bound IPv4 socket with the server's receive queue, read by a plain
// receive loop on a thread of its own: the floor under the server's path.
class BareReceiver {
public:
    BareReceiver();
    // Ends the loop with an empty datagram.
    ~BareReceiver();
    BareReceiver(const BareReceiver&) = delete;
    BareReceiver& operator=(const BareReceiver&) = delete;

    std::uint16_t Port() const { return port_; }
    std::uint64_t Received() const { return received_.load(std::memory_order_acquire); }
    SteadyClock::time_point LastArrival() const;

private:
    void Run();

    net::SocketLayerUse socketLayer_;
    std::uint16_t port_ = 0;  // before the socket, whose making fills it in
    net::SocketHandle socket_;
    std::atomic<std::uint64_t> received_{0};
    std::atomic<SteadyClock::rep> lastArrival_{0};
    std::thread thread_;
};

// How many copies of the datagram a socket with the server's receive queue
// holds while nobody reads it: sends `tries` of them, then takes what is queued.
std::uint64_t QueueDepth(std::span<const std::byte> datagram, std::uint64_t tries);

// Decides when a run is over: the sender finished and either every datagram
// arrived or the count has stood still for half a second. Ask it often.
class Settle {
public:
    bool Over(bool senderFinished, std::uint64_t sent, std::uint64_t arrived);

private:
    std::uint64_t seen_ = 0;
    SteadyClock::time_point since_ = SteadyClock::now();
};

}  // namespace kestrin::bench
