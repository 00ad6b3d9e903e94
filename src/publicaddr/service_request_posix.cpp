#include <curl/curl.h>

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

}  // namespace

AnswerBody AskService(const std::u16string& url, const RequestLimits& limits) {
    AnswerBody answer;
    InitialiseCurlOnce();
    const CurlHandle curl(curl_easy_init());
    if (!curl) return answer;

    const std::string narrowUrl = base::Utf16ToUtf8(url);
    CURL* handle = curl.Get();
    curl_easy_setopt(handle, CURLOPT_URL, narrowUrl.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, narrowUrl.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, kProtocols);
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, static_cast<long>(kMaxRedirects));
    // The total bounds sending and receiving too, however slowly bytes trickle.
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(TimeAllowed(limits).count()));
    // Time-outs by signal would reach other threads of the program.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, static_cast<long>(kAnswerPieceSize));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, CollectPiece);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &answer);

    // Whatever the outcome, the bytes that arrived are judged; but a redirect
    // that was not followed, as one without a place, has no answer to give.
    curl_easy_perform(handle);
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    return IsRedirectStatus(status) ? AnswerBody{} : answer;
}

}  // namespace kestrin::publicaddr
