#include "base/integer_text.h"

#include "base/exception.h"
#include "base/text.h"

namespace kestrin::base {

namespace {

constexpr std::uint64_t kMaxMagnitude = 2147483648;  // of -2147483648
constexpr std::uint64_t kMaxHexValue = 0xFFFFFFFF;   // eight significant digits

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> TryParseInteger(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    bool hex = false;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }

    if (i == text.size()) return std::nullopt;  // no digit at all

    const int base = hex ? 16 : 10;
    const std::uint64_t limit = hex ? kMaxHexValue : kMaxMagnitude;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit) return std::nullopt;  // stops early, so no overflow
    }

    if (hex) {
        // Two's complement of the 32 bits; a "-" negates with 32-bit wrap-around.
        std::uint32_t bits = static_cast<std::uint32_t>(value);
        if (negative) bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    if (negative) return static_cast<std::int32_t>(0 - static_cast<std::int64_t>(value));
    if (value > kMaxMagnitude - 1) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t ParseInteger(std::u16string_view text) {
    if (const auto value = TryParseInteger(text)) return *value;
    throw EConvertError(FillPlaceholder(u"'%s' ist kein gültiger Integerwert", u"%s", text));
}

std::int32_t ParseIntegerOr(std::u16string_view text, std::int32_t fallback) {
    return TryParseInteger(text).value_or(fallback);
}

}  // namespace kestrin::base
