#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "base/unique_handle.h"
#include "base/win32_text.h"
#include "publicaddr/service_request.h"

namespace kestrin::publicaddr {

namespace {

using Clock = std::chrono::steady_clock;

// How long the asking thread waits for a request thread to end once its
// answer is in: closing its handles may read on for a while to keep the
// connection (Wine drains what the service has sent so far).
constexpr std::chrono::seconds kCloseGrace{1};

constexpr DWORD kRequestFlags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;

// Closing has no result worth looking at.
void CloseInternetHandle(HINTERNET handle) noexcept { ::InternetCloseHandle(handle); }
using InternetHandle = base::UniqueHandle<HINTERNET, CloseInternetHandle>;

// WinINet's time-outs start again with every byte, so a service that
// trickles its headers or its body defeats them, and a blocked call takes no
// notice of any deadline. So the request is made on a thread of its own
// while the asking thread waits for it until the deadline, then takes the
// body as far as it came and goes on.
//
// Every WinINet handle belongs to the request thread alone: it opens, uses
// and closes each one, and the asking thread never touches any. At the
// deadline the asking thread only marks the exchange abandoned; the request
// thread stops at the mark once its current call returns. So no handle is
// closed twice or used after its close, and a lingering request never
// reaches a handle number WinINet has since given to the next service. A
// blocked call ends with WinINet's own time-outs or when the service lets go
// (Wine ignores the time-outs: there only the latter).
class Exchange {
public:
    // False once the body is too long or the exchange was abandoned.
    bool Append(std::string_view piece) {
        const std::lock_guard guard(lock_);
        return !abandoned_ && answer_.Append(piece);
    }

    bool Abandoned() {
        const std::lock_guard guard(lock_);
        return abandoned_;
    }

    // The request thread's answer is in; its handles are still to close.
    void Finish() { Mark(finished_); }
    // The request thread's handles are closed.
    void End() { Mark(ended_); }

    bool WaitUntilFinished(Clock::time_point deadline) { return WaitUntil(deadline, finished_); }
    bool WaitUntilEnded(Clock::time_point deadline) { return WaitUntil(deadline, ended_); }

    AnswerBody Answer() {
        const std::lock_guard guard(lock_);
        return answer_;
    }

    // Leaves the request to end on its own and gives the body as far as it came.
    AnswerBody Abandon() {
        const std::lock_guard guard(lock_);
        abandoned_ = true;
        return answer_;
    }

private:
    void Mark(bool& flag) {
        {
            const std::lock_guard guard(lock_);
            flag = true;
        }
        changed_.notify_all();
    }

    bool WaitUntil(Clock::time_point deadline, const bool& flag) {
        std::unique_lock guard(lock_);
        return changed_.wait_until(guard, deadline, [&] { return flag; });
    }

    std::mutex lock_;
    std::condition_variable changed_;
    AnswerBody answer_;
    bool finished_ = false;
    bool ended_ = false;
    bool abandoned_ = false;
};

// The request thread's handles; the request closes before its session.
struct Handles {
    InternetHandle session;
    InternetHandle request;
};

DWORD Milliseconds(std::chrono::milliseconds duration) {
    return static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(duration.count(), 0));
}

void SetTimeouts(HINTERNET session, const RequestLimits& limits) {
    DWORD connect = Milliseconds(limits.connect);
    // These count from the last byte; the deadline bounds the whole.
    DWORD transfer = Milliseconds(limits.total);
    ::InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    ::InternetSetOptionW(session, INTERNET_OPTION_SEND_TIMEOUT, &transfer, sizeof transfer);
    ::InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &transfer, sizeof transfer);
}

// The scheme of a whole URL; nothing for a relative one or no URL.
std::optional<INTERNET_SCHEME> SchemeOf(const std::u16string& url) {
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    if (!::InternetCrackUrlW(base::AsWide(url), 0, 0, &parts)) return std::nullopt;
    return parts.nScheme;
}

bool IsWebUrl(const std::u16string& url) {
    const std::optional<INTERNET_SCHEME> scheme = SchemeOf(url);
    return scheme == INTERNET_SCHEME_HTTP || scheme == INTERNET_SCHEME_HTTPS;
}

// A text that `query` writes into a buffer of the size it is given, in
// characters. A buffer too short for it makes `query` fail with
// ERROR_INSUFFICIENT_BUFFER and set the size it needs, and it is asked once
// more with that. Nothing when it fails otherwise.
template <typename Query>
std::optional<std::u16string> QueryText(Query query) {
    std::u16string text(INTERNET_MAX_URL_LENGTH, u'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(text.size());
        if (query(text, size)) {
            text.resize(std::min<std::size_t>(size, text.size()));
            return text;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= text.size()) return std::nullopt;
        text.assign(size, u'\0');
    }
    return std::nullopt;
}

// Where a redirect sends the request, resolved against the URL it came
// from; nothing when the response is no redirect, empty when the place
// cannot be read or is no URL.
std::optional<std::u16string> RedirectTarget(HINTERNET request, const std::u16string& from) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        !IsRedirectStatus(static_cast<long>(status))) {
        return std::nullopt;
    }
    // The header's size is in bytes, its terminating null not counted once read.
    const std::optional<std::u16string> location = QueryText([request](std::u16string& buffer, DWORD& characters) {
        DWORD bytes = static_cast<DWORD>(characters * sizeof(char16_t));
        const bool read = ::HttpQueryInfoW(request, HTTP_QUERY_LOCATION, base::AsWide(buffer), &bytes, nullptr);
        characters = static_cast<DWORD>(bytes / sizeof(char16_t)) + (read ? 0 : 1);
        return read;
    });
    if (!location) return u"";
    // A whole URL is the place as it stands; only a relative one is resolved
    // (Wine resolves one longer than INTERNET_MAX_URL_LENGTH to the base alone).
    if (SchemeOf(*location)) return location;
    // The combined URL's size is in characters, its terminating null counted only when the buffer was short.
    const std::optional<std::u16string> target = QueryText([&](std::u16string& buffer, DWORD& characters) {
        return ::InternetCombineUrlW(base::AsWide(from), base::AsWide(*location), base::AsWide(buffer), &characters,
                                     0) != FALSE;
    });
    return target.value_or(u"");
}

void ReadBody(HINTERNET request, Clock::time_point deadline, Exchange& exchange) {
    std::array<char, kAnswerPieceSize> buffer;
    while (Clock::now() < deadline) {
        // Waits for the next bytes; a read of more than arrived would wait for
        // them all, and the deadline could then leave a trickled body unread.
        DWORD available = 0;
        if (!::InternetQueryDataAvailable(request, &available, 0, 0)) break;
        const DWORD wanted = std::clamp<DWORD>(available, 1, static_cast<DWORD>(buffer.size()));
        DWORD count = 0;
        if (!::InternetReadFile(request, buffer.data(), wanted, &count)) break;
        if (count == 0) break;  // the body is complete
        // Beyond the limit the request ends here; closing it drops the rest unread.
        if (!exchange.Append({buffer.data(), count})) break;
    }
}

// The whole request, redirects and all, on the request thread.
void Converse(Handles& handles, Exchange& exchange, const std::u16string& url, const RequestLimits& limits,
              Clock::time_point deadline) {
    // The URL is the user agent; the system's proxy settings.
    handles.session.Reset(::InternetOpenW(base::AsWide(url), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!handles.session) return;
    SetTimeouts(handles.session.Get(), limits);

    std::u16string next = url;
    for (int redirects = 0;; ++redirects) {
        if (!IsWebUrl(next)) return;
        handles.request.Reset();
        // Redirects are followed here, counted. The service is asked every
        // time, never answered from the cache (WinINet would cache even a
        // response that says nothing about it), and no dialog or cookie of
        // WinINet's own comes into it; the one header this adds is
        // "Pragma: no-cache", for proxies.
        handles.request.Reset(::InternetOpenUrlW(handles.session.Get(), base::AsWide(next), nullptr, 0,
                                                 kRequestFlags, 0));
        if (!handles.request || exchange.Abandoned()) return;
        std::optional<std::u16string> target = RedirectTarget(handles.request.Get(), next);
        if (!target) {
            ReadBody(handles.request.Get(), deadline, exchange);
            return;
        }
        if (redirects == kMaxRedirects || !RedirectAllowed(next, *target)) return;
        next = std::move(*target);
    }
}

}  // namespace

AnswerBody AskService(const std::u16string& url, const RequestLimits& limits) {
    const Clock::time_point deadline = Clock::now() + TimeAllowed(limits);
    const auto exchange = std::make_shared<Exchange>();
    std::thread requestThread([exchange, url, limits, deadline] {
        {
            Handles handles;
            Converse(handles, *exchange, url, limits, deadline);
            exchange->Finish();
        }
        exchange->End();
    });
    if (!exchange->WaitUntilFinished(deadline)) {
        // It keeps its share of the exchange until the service lets it go.
        const AnswerBody answer = exchange->Abandon();
        requestThread.detach();
        return answer;
    }
    if (exchange->WaitUntilEnded(Clock::now() + kCloseGrace)) {
        requestThread.join();
    } else {
        requestThread.detach();  // still draining
    }
    return exchange->Answer();
}

}  // namespace kestrin::publicaddr
