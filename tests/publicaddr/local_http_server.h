#pragma once
// A tiny HTTP server on 127.0.0.1 for the lookup tests: every connection gets
// its request read (up to the blank line), recorded, and the canned response,
// after which the server closes it. Requests are recorded before the response
// goes out, so once a client has its answer the request is there to inspect.

#include <cstddef>
#include <cstdint>
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
    explicit LocalHttpServer(std::string response);
    // Wakes the accepting thread with a connection of its own and joins it.
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by `path`.
    std::u16string Url(std::u16string_view path = u"/") const;

    // Every request so far, head only: request line and header lines.
    std::vector<std::string> Requests() const;

private:
    void Serve();
    void Answer(const LoopbackSocket& connection);

    const std::string response_;
    LoopbackSocket listener_;
    std::uint16_t port_;
    mutable std::mutex lock_;
    std::vector<std::string> requests_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace kestrin::test
