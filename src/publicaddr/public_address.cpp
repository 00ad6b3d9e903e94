#include "publicaddr/public_address.h"

#include <algorithm>
#include <string_view>

namespace kestrin::publicaddr {

namespace {

// No URL holds a control character. The URL also goes out as the User-Agent
// header, where WinINet copies a CR LF as it is and so ends the header early.
bool IsAskable(std::u16string_view url) {
    return std::none_of(url.begin(), url.end(), [](char16_t c) { return c < u' ' || c == u'\x7F'; });
}

}  // namespace

std::u16string FetchPublicAddress(const std::vector<std::u16string>& serviceUrls, const RequestLimits& limits) {
    for (const std::u16string& url : serviceUrls) {
        if (!IsAskable(url)) continue;
        const AnswerBody answer = AskService(url, limits);
        if (answer.TooLong()) continue;
        std::u16string address = AnswerText(answer.Bytes());
        if (IsValidAddress(address)) return address;
    }
    return {};
}

}  // namespace kestrin::publicaddr
