#pragma once
// A tiny HTTP server on 127.0.0.1 for the lookup tests: every connection gets
// its request read (up to the blank line), recorded, and a reply (a canned
// response, or one of the misbehaving services below), after which the server
// closes it. Connections are served one at a time. Requests are recorded
// before the reply goes out, so once a client has its answer the request is
// there to inspect.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "publicaddr/loopback_socket.h"

namespace kestrin::test {

// A complete response with the body's length; `headers` are extra lines,
// each ending in CR LF.
std::string HttpResponse(std::string_view body, std::string_view status = "200 OK",
                         std::string_view headers = "Content-Type: text/plain\r\n");

// The value of the first header of that name in a recorded request, without
// the blanks around it; empty when it has none.
std::string HeaderValue(std::string_view request, std::string_view name);

class LocalHttpServer {
public:
    // What the server sends on one connection, its request already recorded.
    using Reply = std::function<void(LocalHttpServer& server, const LoopbackSocket& connection)>;

    explicit LocalHttpServer(std::string response);
    explicit LocalHttpServer(Reply reply);
    // Ends a reply that is waiting (Pause), wakes the accepting thread with a
    // connection of its own and joins it.
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `path`.
    std::u16string Url(std::u16string_view path = u"/") const;

    // Every request so far, head only: request line and header lines.
    std::vector<std::string> Requests() const;
    // Waits, with a generous limit, until `count` replies have ended.
    bool WaitForReplies(std::size_t count) const;

    // For replies that take their time: waits `pause`, or less when the
    // server is being destroyed; false then.
    bool Pause(std::chrono::milliseconds pause) const;

private:
    void Serve();
    void Answer(const LoopbackSocket& connection);

    const Reply reply_;
    LoopbackSocket listener_;
    std::uint16_t port_;
    mutable std::mutex lock_;
    std::vector<std::string> requests_;
    mutable std::condition_variable changed_;
    std::size_t replies_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

// Reads the request and sends nothing, holding the connection.
LocalHttpServer::Reply Silent();
// Sends the first `atOnce` bytes of `response`, then one byte every `interval`.
LocalHttpServer::Reply Trickle(std::string response, std::size_t atOnce, std::chrono::milliseconds interval);
// Redirects the first `count` requests, each to a fresh path on the same
// server, then answers `response`.
LocalHttpServer::Reply Redirects(std::size_t count, std::string response);
// A body of `size` bytes made as it goes out, on a connection kept alive;
// `sent` counts the body bytes that went out before the client closed.
LocalHttpServer::Reply GeneratedBody(std::size_t size, std::atomic<std::size_t>& sent);

}  // namespace kestrin::test
