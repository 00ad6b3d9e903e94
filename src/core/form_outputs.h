#pragma once
// What start-up needs beyond what the user sees: the public address check.
// The public address layer implements it; tests record the calls.

#include <string>
#include <vector>

namespace kestrin::core {

class PublicAddressCheck {
public:
    virtual ~PublicAddressCheck() = default;
    // The first valid address the services give, in list order, or the empty
    // text when none does. Failures of the services are not errors.
    virtual std::u16string FetchPublicAddress(const std::vector<std::u16string>& serviceUrls) = 0;
    // Appends the history line for the address to ip_list.cfg; throws EInOutError.
    virtual void AppendHistoryLine(const std::u16string& address) = 0;
};

}  // namespace kestrin::core
