#include "publicaddr/service_request.h"

#include <optional>

#include "base/text.h"

namespace kestrin::publicaddr {

namespace {

enum class Scheme { Http, Https, Other };

Scheme SchemeOf(std::u16string_view url) {
    const std::size_t colon = url.find(u':');
    if (colon == std::u16string_view::npos) return Scheme::Other;
    const std::u16string_view scheme = url.substr(0, colon);
    if (base::SameIgnoringAsciiCase(scheme, u"https")) return Scheme::Https;
    if (base::SameIgnoringAsciiCase(scheme, u"http")) return Scheme::Http;
    return Scheme::Other;
}

}  // namespace

bool RedirectAllowed(std::u16string_view from, std::u16string_view to) {
    const Scheme next = SchemeOf(to);
    if (next == Scheme::Other) return false;
    return SchemeOf(from) != Scheme::Https || next == Scheme::Https;
}

}  // namespace kestrin::publicaddr
