#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include "base/text.h"
#include "base/unique_handle.h"
#include "publicaddr/service_request.h"

namespace kestrin::publicaddr {

namespace {

// Nothing but web requests: a "file:" or other URL in the settings, or a
// redirect to one, is no service.
constexpr const char* kProtocols = "http,https";

using CurlHandle = base::UniqueHandle<CURL*, curl_easy_cleanup>;

void InitialiseCurlOnce() {
    // For the life of the process; the lookup runs on the main thread only.
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    static_cast<void>(initialised);
}

// libcurl's write callback; returning less than it was given ends the
// transfer and closes its connection, so the rest of the body is not read.
std::size_t CollectPiece(char* data, std::size_t size, std::size_t count, void* answer) {
    const std::size_t bytes = size * count;
    return static_cast<AnswerBody*>(answer)->Append({data, bytes}) ? bytes : 0;
}

// One request to `url`, with `timeLeft` of the whole request's time; its
// redirect's place, when it is one (empty when it names none).
AnswerBody AskOnce(const std::string& url, const std::string& userAgent, const RequestLimits& limits,
                   std::chrono::milliseconds timeLeft, std::optional<std::string>& redirect) {
    AnswerBody answer;
    const CurlHandle curl(curl_easy_init());
    if (!curl) return answer;
    CURL* handle = curl.Get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, kProtocols);
    // The total bounds sending and receiving too, however slowly bytes trickle.
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::min(limits.connect, timeLeft).count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(timeLeft.count()));
    // Time-outs by signal would reach other threads of the program.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, static_cast<long>(kAnswerPieceSize));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, CollectPiece);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &answer);

    // Whatever the outcome, the bytes that arrived are judged; but a
    // redirect's own body is never the answer.
    curl_easy_perform(handle);
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (!IsRedirectStatus(status)) return answer;
    const char* place = nullptr;
    curl_easy_getinfo(handle, CURLINFO_REDIRECT_URL, &place);
    redirect = place != nullptr ? place : "";
    return {};
}

}  // namespace

AnswerBody AskService(const std::u16string& url, const RequestLimits& limits) {
    InitialiseCurlOnce();
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + TimeAllowed(limits);
    const std::string userAgent = base::Utf16ToUtf8(url);
    std::string next = userAgent;
    // Redirects are followed here, counted and judged hop by hop.
    for (int redirects = 0;; ++redirects) {
        const auto timeLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (timeLeft.count() <= 0) return {};
        std::optional<std::string> redirect;
        AnswerBody answer = AskOnce(next, userAgent, limits, timeLeft, redirect);
        if (!redirect) return answer;
        if (redirect->empty() || redirects == kMaxRedirects ||
            !RedirectAllowed(base::Utf8ToUtf16(next), base::Utf8ToUtf16(*redirect))) {
            return {};
        }
        next = std::move(*redirect);
    }
}

}  // namespace kestrin::publicaddr
