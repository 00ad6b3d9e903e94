#include "publicaddr/public_address.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/integer_text.h"

namespace kestrin::publicaddr {

namespace {

constexpr std::size_t kMaxColons = 7;
constexpr std::size_t kDottedTailDots = 3;
constexpr std::size_t kMinColons = 2;
constexpr std::size_t kMaxColonsBeforeDottedTail = 6;
// Of the last field of a dotted tail only this many characters are read.
constexpr std::size_t kLastDottedFieldLength = 3;
constexpr std::size_t kIPv4FieldCount = 4;

constexpr std::int32_t kMaxHexField = 0xFFFF;
constexpr std::int32_t kMaxByteField = 255;
// What a field that is no number counts as: outside every range.
constexpr std::int32_t kNotANumber = -1;

bool IsDecimalDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexLetter(char16_t c) { return (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); }

// An integer text of 0 to 255. In a dotted tail the scan has let through
// only digits and hexadecimal letters, so there it reads decimal or not at all.
bool IsByteField(std::u16string_view field) {
    const std::int32_t value = base::ParseIntegerOr(field, kNotANumber);
    return value >= 0 && value <= kMaxByteField;
}

bool IsHexField(std::u16string_view field) {
    // "$" makes the integer syntax read the digits as hexadecimal.
    std::u16string hex(1, u'$');
    hex.append(field);
    const std::int32_t value = base::ParseIntegerOr(hex, kNotANumber);
    return value >= 0 && value <= kMaxHexField;
}

// Where the scan of an IPv6 text found its separators.
struct Separators {
    std::array<std::size_t, kMaxColons> colons{};
    std::size_t colonCount = 0;
    std::array<std::size_t, kDottedTailDots> dots{};
    std::size_t dotCount = 0;
};

// False at the first character the IPv6 rules never allow: anything but
// digits, hexadecimal letters before the first dot, at most three dots and
// at most seven colons.
bool ScanIPv6(std::u16string_view text, Separators& found) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsDecimalDigit(c)) continue;
        if (IsHexLetter(c)) {
            if (found.dotCount > 0) return false;
        } else if (c == u'.') {
            if (found.dotCount == found.dots.size()) return false;
            found.dots[found.dotCount++] = i;
        } else if (c == u':') {
            if (found.colonCount == found.colons.size()) return false;
            found.colons[found.colonCount++] = i;
        } else {
            return false;
        }
    }
    return true;
}

// The fields before, between and (without a dotted tail) after the colons;
// a single empty one is the "::".
bool HasValidHexFields(std::u16string_view text, const Separators& found) {
    std::vector<std::u16string_view> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i < found.colonCount; ++i) {
        fields.push_back(text.substr(start, found.colons[i] - start));
        start = found.colons[i] + 1;
    }
    if (found.dotCount == 0) fields.push_back(text.substr(start));

    bool doubleColonSeen = false;
    for (const std::u16string_view field : fields) {
        if (field.empty()) {
            if (doubleColonSeen) return false;
            doubleColonSeen = true;
        } else if (!IsHexField(field)) {
            return false;
        }
    }
    return true;
}

bool HasValidDottedTail(std::u16string_view text, const Separators& found) {
    const std::size_t lastColon = found.colons[found.colonCount - 1];
    const auto& dots = found.dots;
    const std::u16string_view fields[] = {
        text.substr(lastColon + 1, dots[0] - lastColon - 1),
        text.substr(dots[0] + 1, dots[1] - dots[0] - 1),
        text.substr(dots[1] + 1, dots[2] - dots[1] - 1),
        text.substr(dots[2] + 1, kLastDottedFieldLength),
    };
    return std::all_of(std::begin(fields), std::end(fields), IsByteField);
}

}  // namespace

bool IsValidAddress(std::u16string_view text) { return IsValidIPv6(text) || IsValidIPv4(text); }

bool IsValidIPv6(std::u16string_view original) {
    if (original.empty()) return false;
    std::u16string text(original);
    if (text.front() == u':') text.insert(text.begin(), u'0');
    if (text.back() == u':') text.push_back(u'0');

    Separators found;
    if (!ScanIPv6(text, found)) return false;

    if (found.dotCount == 0) {
        if (found.colonCount < kMinColons) return false;
    } else {
        if (found.dotCount != kDottedTailDots) return false;
        if (found.colonCount < kMinColons || found.colonCount > kMaxColonsBeforeDottedTail) return false;
        if (found.colons[found.colonCount - 1] > found.dots[0]) return false;
    }
    if (!HasValidHexFields(text, found)) return false;
    return found.dotCount == 0 || HasValidDottedTail(text, found);
}

bool IsValidIPv4(std::u16string_view text) {
    const std::vector<std::u16string> fields = SplitDottedFields(text);
    return fields.size() == kIPv4FieldCount && std::all_of(fields.begin(), fields.end(), IsByteField);
}

}  // namespace kestrin::publicaddr
