#include "net/address_text.h"

#include "base/text.h"

namespace kestrin::net {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void AppendHexGroup(std::u16string& out, unsigned group) {
    bool started = false;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const unsigned digit = (group >> shift) & 0xFu;
        started = started || digit != 0 || shift == 0;
        if (started) out += kHexDigits[digit];
    }
}

}  // namespace

std::u16string IPv4AddressText(const std::array<std::uint8_t, 4>& address) {
    std::u16string text;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i != 0) text += u'.';
        text += base::DecimalText(address[i]);
    }
    return text;
}

std::u16string IPv6AddressText(const std::array<std::uint8_t, 16>& address) {
    std::u16string text;
    for (std::size_t i = 0; i < address.size(); i += 2) {
        if (i != 0) text += u':';
        AppendHexGroup(text, static_cast<unsigned>(address[i]) << 8 | address[i + 1]);
    }
    return text;
}

}  // namespace kestrin::net
