#pragma once
// The machine's public IP address, as web services see it: the services are
// asked one after the other, and the first answer that is an address wins.

#include <string>
#include <vector>

#include "publicaddr/service_request.h"

namespace kestrin::publicaddr {

// Asks each service in turn (AskService) until one answers a text that,
// decoded and stripped (AnswerText), passes IsValidAddress; returns that
// text as it was tested. The empty text when none does. A service that
// fails in any way or runs out of time is passed over, and so is a URL with
// a control character in it, unasked; nothing is thrown for either.
std::u16string FetchPublicAddress(const std::vector<std::u16string>& serviceUrls, const RequestLimits& limits = {});

}  // namespace kestrin::publicaddr
