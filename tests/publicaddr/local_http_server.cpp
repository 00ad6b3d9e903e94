#include "publicaddr/local_http_server.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/text.h"

namespace kestrin::test {

namespace {

constexpr std::string_view kEndOfHead = "\r\n\r\n";
// A request head longer than this is cut there; ours are far shorter.
constexpr std::size_t kMaxHead = 64 * 1024;
// Longer than any test waits for a client.
constexpr std::chrono::seconds kPatience{60};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::string HttpResponse(std::string_view body, std::string_view status, std::string_view headers) {
    std::string response = "HTTP/1.1 ";
    response += status;
    response += "\r\n";
    response += headers;
    response += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    response += body;
    return response;
}

std::string HeaderValue(std::string_view request, std::string_view name) {
    std::size_t start = request.find("\r\n");
    while (start != std::string_view::npos && start + 2 < request.size()) {
        start += 2;
        const std::size_t end = std::min(request.find("\r\n", start), request.size());
        const std::string_view line = request.substr(start, end - start);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && EqualIgnoringCase(line.substr(0, colon), name)) {
            return std::string(TrimBlanks(line.substr(colon + 1)));
        }
        start = end;
    }
    return {};
}

LocalHttpServer::LocalHttpServer(std::string response)
    : LocalHttpServer([response = std::move(response)](LocalHttpServer&, const LoopbackSocket& connection) {
          connection.SendAll(response);
      }) {}

LocalHttpServer::LocalHttpServer(Reply reply)
    : reply_(std::move(reply)),
      listener_(LoopbackSocket::Listen()),
      port_(listener_.Port()),
      thread_([this] { Serve(); }) {}

LocalHttpServer::~LocalHttpServer() {
    {
        const std::lock_guard guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    // The accept returns for this connection, and the thread sees the stop.
    const LoopbackSocket wake = LoopbackSocket::Connect(port_);
    thread_.join();
}

std::u16string LocalHttpServer::Url(std::u16string_view path) const {
    return u"http://127.0.0.1:" + base::DecimalText(port_) + std::u16string(path);
}

std::vector<std::string> LocalHttpServer::Requests() const {
    const std::lock_guard guard(lock_);
    return requests_;
}

bool LocalHttpServer::WaitForReplies(std::size_t count) const {
    std::unique_lock guard(lock_);
    return changed_.wait_for(guard, kPatience, [&] { return replies_ >= count; });
}

bool LocalHttpServer::Pause(std::chrono::milliseconds pause) const {
    std::unique_lock guard(lock_);
    return !changed_.wait_for(guard, pause, [&] { return stopping_; });
}

void LocalHttpServer::Serve() {
    for (;;) {
        const LoopbackSocket connection = listener_.Accept();
        {
            const std::lock_guard guard(lock_);
            if (stopping_) return;
        }
        if (connection.IsOpen()) Answer(connection);
    }
}

void LocalHttpServer::Answer(const LoopbackSocket& connection) {
    std::string request;
    std::array<char, 1024> buffer;
    while (request.find(kEndOfHead) == std::string::npos && request.size() < kMaxHead) {
        const std::ptrdiff_t count = connection.Receive(buffer.data(), buffer.size());
        if (count <= 0) break;
        request.append(buffer.data(), static_cast<std::size_t>(count));
    }
    request.resize(std::min(request.find(kEndOfHead), request.size()));
    {
        const std::lock_guard guard(lock_);
        requests_.push_back(request);
    }
    reply_(*this, connection);
    connection.ShutdownSending();
    {
        const std::lock_guard guard(lock_);
        ++replies_;
    }
    changed_.notify_all();
}

LocalHttpServer::Reply Silent() {
    return [](LocalHttpServer& server, const LoopbackSocket&) {
        while (server.Pause(kPatience)) {
        }
    };
}

LocalHttpServer::Reply Trickle(std::string response, std::size_t atOnce, std::chrono::milliseconds interval) {
    return [=](LocalHttpServer& server, const LoopbackSocket& connection) {
        if (!connection.SendAll(std::string_view(response).substr(0, atOnce))) return;
        for (std::size_t next = atOnce; next < response.size(); ++next) {
            if (!server.Pause(interval) || !connection.SendAll(std::string_view(response).substr(next, 1))) return;
        }
    };
}

LocalHttpServer::Reply Redirects(std::size_t count, std::string response) {
    return [=](LocalHttpServer& server, const LoopbackSocket& connection) {
        const std::size_t seen = server.Requests().size();
        if (seen > count) {
            connection.SendAll(response);
            return;
        }
        // Relative, so the client resolves it against the URL it asked.
        const std::string location = "Location: /hop/" + std::to_string(seen) + "\r\n";
        connection.SendAll(HttpResponse("", "302 Found", location));
    };
}

LocalHttpServer::Reply GeneratedBody(std::size_t size, std::atomic<std::size_t>& sent) {
    return [size, &sent](LocalHttpServer&, const LoopbackSocket& connection) {
        if (!connection.SendAll("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n")) return;
        const std::string piece(64 * 1024, '7');
        while (sent < size) {
            const std::size_t length = std::min(piece.size(), size - sent);
            if (!connection.SendAll(std::string_view(piece).substr(0, length))) return;
            sent += length;
        }
    };
}

}  // namespace kestrin::test
