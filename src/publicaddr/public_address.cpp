#include "publicaddr/public_address.h"

#include "publicaddr/address_validation.h"
#include "publicaddr/answer_text.h"
#include "publicaddr/service_request.h"

namespace kestrin::publicaddr {

std::u16string FetchPublicAddress(const std::vector<std::u16string>& serviceUrls) {
    for (const std::u16string& url : serviceUrls) {
        const AnswerBody answer = AskService(url);
        if (answer.TooLong()) continue;
        std::u16string address = AnswerText(answer.Bytes());
        if (IsValidAddress(address)) return address;
    }
    return {};
}

}  // namespace kestrin::publicaddr
