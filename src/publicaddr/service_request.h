#pragma once
// One question to one public address service: a GET of the URL whose
// User-Agent is the URL itself, with no headers of the program's own (on
// Windows but "Pragma: no-cache", so no proxy answers from its cache), the
// response status not looked at, never answered from a cache. Windows uses WinINet with the system's
// proxy settings; elsewhere libcurl. Both bound the request alike, since it
// runs on the main thread during start-up and a service that stalls would
// hold up everything else there, the delivery of received datagrams too.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace kestrin::publicaddr {

// How long one service may take. A service that runs out of time gives
// whatever body it had sent by then.
struct RequestLimits {
    std::chrono::milliseconds connect = std::chrono::seconds(10);
    // The whole request, redirects and all, from its start to the last byte.
    std::chrono::milliseconds total = std::chrono::seconds(30);
};

// How long a request may run from its start: the total alone, the time to
// connect counted within it, never added to it.
constexpr std::chrono::milliseconds TimeAllowed(const RequestLimits& limits) {
    return limits.total;
}

// Redirects are followed, but not for ever, and only as RedirectAllowed
// says: a redirect beyond the last one, one it refuses, or one whose place
// cannot be read, gives an empty body; a redirect's own body is never the
// answer.
inline constexpr int kMaxRedirects = 10;

// Whether a redirect from `from` may go on to `to` (both whole URLs): only to
// http and https, and from https only to https. An answer that came over a
// plain hop after an encrypted one could be anybody's on the way.
bool RedirectAllowed(std::u16string_view from, std::u16string_view to);

// The statuses that send the request elsewhere: 301, 302, 303, 307 and 308.
constexpr bool IsRedirectStatus(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The body of one service's response, gathered piece by piece as it is read.
// An address is a few dozen characters; a service that sends more than
// kMaxAnswerBytes is sending something else, so reading stops there and the
// answer counts as no address, instead of growing without end.

// The most bytes one read of the body asks for.
inline constexpr std::size_t kAnswerPieceSize = 1024;
inline constexpr std::size_t kMaxAnswerBytes = 64 * kAnswerPieceSize;

class AnswerBody {
public:
    // Adds the next bytes of the body. False once the body has grown past
    // kMaxAnswerBytes: the reader stops, and the bytes are dropped.
    bool Append(std::string_view piece);

    bool TooLong() const noexcept { return tooLong_; }
    // Everything read so far; empty when TooLong().
    const std::string& Bytes() const noexcept { return bytes_; }

private:
    std::string bytes_;
    bool tooLong_ = false;
};

// The body as far as it could be read: a failure part-way keeps the bytes
// that came before it, and a request that could not be made at all (no
// network, unknown host, refused, a text that is no URL) gives an empty
// body. A body beyond kMaxAnswerBytes ends the request there, its connection
// closed rather than read to its end. Network failures are never thrown.
AnswerBody AskService(const std::u16string& url, const RequestLimits& limits = {});

}  // namespace kestrin::publicaddr
