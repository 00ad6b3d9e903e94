#include <windows.h>
#include <wininet.h>

#include <array>
#include <string>

#include "base/unique_handle.h"
#include "base/win32_text.h"
#include "publicaddr/service_request.h"

namespace kestrin::publicaddr {

namespace {

// Closing has no result worth looking at.
void CloseInternetHandle(HINTERNET handle) noexcept { InternetCloseHandle(handle); }
using InternetHandle = base::UniqueHandle<HINTERNET, CloseInternetHandle>;

}  // namespace

AnswerBody AskService(const std::u16string& url) {
    AnswerBody answer;
    const auto* wideUrl = base::AsWide(url);

    // The URL is the user agent; the system's proxy settings, no flags.
    const InternetHandle internet(InternetOpenW(wideUrl, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet) return answer;
    // Declared after `internet`, so the request handle is closed first.
    const InternetHandle request(InternetOpenUrlW(internet.Get(), wideUrl, nullptr, 0, 0, 0));
    if (!request) return answer;

    std::array<char, kAnswerPieceSize> buffer;
    for (;;) {
        DWORD count = 0;
        if (!InternetReadFile(request.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &count)) break;
        if (count == 0) break;  // the body is complete
        if (!answer.Append({buffer.data(), count})) break;
    }
    return answer;
}

}  // namespace kestrin::publicaddr
