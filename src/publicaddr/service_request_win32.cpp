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

// How long the request thread may take to end once its answer is in or its
// handles were closed.
constexpr std::chrono::seconds kCloseGrace{1};

// Closing has no result worth looking at.
void CloseInternetHandle(HINTERNET handle) noexcept { InternetCloseHandle(handle); }
using InternetHandle = base::UniqueHandle<HINTERNET, CloseInternetHandle>;

// WinINet's time-outs start again with every byte, so a service that
// trickles its headers or its body defeats them, and a blocked call takes no
// notice of any deadline. So the request is made on a thread of its own
// while the asking thread waits for it until the deadline. Then the asking
// thread closes the request's handles, which makes a blocked call return on
// Windows; Wine's does not, so there the request thread is left to end when
// the service lets go. Everything both threads touch lives here, shared, and
// each handle is closed exactly once, by whichever side is first.
class Exchange {
public:
    // Takes the session; false when the exchange was abandoned before.
    bool Begin(InternetHandle session) {
        const std::lock_guard guard(lock_);
        if (abandoned_) return false;
        session_ = std::move(session);
        return true;
    }

    // Opens the URL, the request before it closed; null when that fails or
    // the exchange was abandoned.
    HINTERNET Open(const std::u16string& url) {
        HINTERNET session = nullptr;
        {
            const std::lock_guard guard(lock_);
            request_.Reset();
            session = session_.Get();
        }
        if (session == nullptr) return nullptr;
        // No headers of our own; redirects are followed by the caller, counted.
        InternetHandle request(
            InternetOpenUrlW(session, base::AsWide(url), nullptr, 0, INTERNET_FLAG_NO_AUTO_REDIRECT, 0));
        const std::lock_guard guard(lock_);
        if (abandoned_) return nullptr;  // the new request closes here, at once
        request_ = std::move(request);
        return request_.Get();
    }

    // False once the body is too long or the exchange was abandoned.
    bool Append(std::string_view piece) {
        const std::lock_guard guard(lock_);
        return !abandoned_ && answer_.Append(piece);
    }

    // The request thread's last step. The handles close after the asking
    // thread has been told, since closing may read on for a while to keep
    // the connection: Wine drains what the service has sent so far.
    void Finish() {
        {
            InternetHandle session;
            InternetHandle request;
            {
                const std::lock_guard guard(lock_);
                session = std::move(session_);
                request = std::move(request_);
                finished_ = true;
            }
            changed_.notify_all();
        }
        {
            const std::lock_guard guard(lock_);
            ended_ = true;
        }
        changed_.notify_all();
    }

    bool WaitUntilFinished(Clock::time_point deadline) { return WaitUntil(deadline, finished_); }
    bool WaitUntilEnded(Clock::time_point deadline) { return WaitUntil(deadline, ended_); }

    AnswerBody Answer() {
        const std::lock_guard guard(lock_);
        return answer_;
    }

    // Ends the request where it is and gives the body as far as it came.
    AnswerBody Abandon() {
        const std::lock_guard guard(lock_);
        abandoned_ = true;
        request_.Reset();
        session_.Reset();
        return answer_;
    }

private:
    bool WaitUntil(Clock::time_point deadline, const bool& flag) {
        std::unique_lock guard(lock_);
        return changed_.wait_until(guard, deadline, [&] { return flag; });
    }

    std::mutex lock_;
    std::condition_variable changed_;
    InternetHandle session_;
    InternetHandle request_;
    AnswerBody answer_;
    bool finished_ = false;
    bool ended_ = false;
    bool abandoned_ = false;
};

DWORD Milliseconds(std::chrono::milliseconds duration) {
    return static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(duration.count(), 0));
}

void SetTimeouts(HINTERNET session, const RequestLimits& limits) {
    DWORD connect = Milliseconds(limits.connect);
    // These count from the last byte; the deadline bounds the whole.
    DWORD transfer = Milliseconds(limits.total);
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionW(session, INTERNET_OPTION_SEND_TIMEOUT, &transfer, sizeof transfer);
    InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &transfer, sizeof transfer);
}

bool IsWebUrl(const std::u16string& url) {
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    if (!InternetCrackUrlW(base::AsWide(url), 0, 0, &parts)) return false;
    return parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS;
}

bool IsRedirect(DWORD status) {
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT || status == HTTP_STATUS_REDIRECT_METHOD ||
           status == HTTP_STATUS_REDIRECT_KEEP_VERB || status == HTTP_STATUS_PERMANENT_REDIRECT;
}

// Where a redirect sends the request, resolved against the URL it came
// from; nothing when the response is no redirect, empty when the place is
// no URL.
std::optional<std::u16string> RedirectTarget(HINTERNET request, const std::u16string& from) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        !IsRedirect(status)) {
        return std::nullopt;
    }
    std::u16string location(INTERNET_MAX_URL_LENGTH, u'\0');
    DWORD bytes = static_cast<DWORD>(location.size() * sizeof(char16_t));
    if (!HttpQueryInfoW(request, HTTP_QUERY_LOCATION, base::AsWide(location), &bytes, nullptr)) return std::nullopt;
    location.resize(bytes / sizeof(char16_t));

    std::u16string target(INTERNET_MAX_URL_LENGTH, u'\0');
    DWORD length = static_cast<DWORD>(target.size());
    if (!InternetCombineUrlW(base::AsWide(from), base::AsWide(location), base::AsWide(target), &length, 0)) return u"";
    target.resize(length);
    return target;
}

void ReadBody(HINTERNET request, Clock::time_point deadline, Exchange& exchange) {
    std::array<char, kAnswerPieceSize> buffer;
    while (Clock::now() < deadline) {
        // Waits for the next bytes; a read of more than arrived would wait for
        // them all, and the deadline could then leave a trickled body unread.
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) break;
        const DWORD wanted = std::clamp<DWORD>(available, 1, static_cast<DWORD>(buffer.size()));
        DWORD count = 0;
        if (!InternetReadFile(request, buffer.data(), wanted, &count)) break;
        if (count == 0) break;  // the body is complete
        // Beyond the limit the request ends here; closing it drops the rest unread.
        if (!exchange.Append({buffer.data(), count})) break;
    }
}

// The whole request, redirects and all, on the request thread.
void Converse(Exchange& exchange, const std::u16string& url, const RequestLimits& limits, Clock::time_point deadline) {
    // The URL is the user agent; the system's proxy settings.
    InternetHandle session(InternetOpenW(base::AsWide(url), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return;
    SetTimeouts(session.Get(), limits);
    if (!exchange.Begin(std::move(session))) return;

    std::u16string next = url;
    for (int redirects = 0;; ++redirects) {
        if (!IsWebUrl(next)) return;
        const HINTERNET request = exchange.Open(next);
        if (request == nullptr) return;
        std::optional<std::u16string> target = RedirectTarget(request, next);
        if (!target) {
            ReadBody(request, deadline, exchange);
            return;
        }
        if (redirects == kMaxRedirects) return;
        next = std::move(*target);
    }
}

}  // namespace

AnswerBody AskService(const std::u16string& url, const RequestLimits& limits) {
    const Clock::time_point deadline = Clock::now() + limits.total;
    const auto exchange = std::make_shared<Exchange>();
    std::thread requestThread([exchange, url, limits, deadline] {
        Converse(*exchange, url, limits, deadline);
        exchange->Finish();
    });
    const AnswerBody answer = exchange->WaitUntilFinished(deadline) ? exchange->Answer() : exchange->Abandon();
    if (exchange->WaitUntilEnded(Clock::now() + kCloseGrace)) {
        requestThread.join();
    } else {
        // Still blocked or draining: it keeps its share of the exchange until it ends.
        requestThread.detach();
    }
    return answer;
}

}  // namespace kestrin::publicaddr
