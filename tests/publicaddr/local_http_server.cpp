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
    : response_(std::move(response)),
      listener_(LoopbackSocket::Listen()),
      port_(listener_.Port()),
      thread_([this] { Serve(); }) {}

LocalHttpServer::~LocalHttpServer() {
    {
        const std::lock_guard guard(lock_);
        stopping_ = true;
    }
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
    connection.SendAll(response_);
    connection.ShutdownSending();
}

}  // namespace kestrin::test
