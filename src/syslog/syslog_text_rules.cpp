#include "syslog/syslog_text_rules.h"

#include <array>

#include "base/integer_text.h"
#include "base/text.h"

namespace kestrin::syslog {

namespace {

constexpr char16_t kReplacementCharacter = u'\uFFFD';

struct MonthName {
    int month;
    std::u16string_view name;  // upper case
};

// Month names as devices of several languages write them; the header always
// offers exactly three letters, so only three-letter names take part.
constexpr std::array<MonthName, 27> kMonthNames{{
    {1, u"JAN"},  {1, u"ENO"},  {2, u"FEB"},  {3, u"MAR"},  {3, u"MRZ"},  {3, u"MZO"},  {3, u"MRT"},  {4, u"APR"},
    {4, u"ABR"},  {4, u"AVR"},  {5, u"MAY"},  {5, u"MAI"},  {5, u"MEI"},  {5, u"MAJ"},  {6, u"JUN"},  {7, u"JUL"},
    {7, u"JUI"},  {8, u"AUG"},  {8, u"AVG"},  {9, u"SEP"},  {9, u"SET"},  {10, u"OCT"}, {10, u"OKT"}, {11, u"NOV"},
    {12, u"DEC"}, {12, u"DEZ"}, {12, u"DIC"},
}};

bool IsAsciiAlphanumeric(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

}  // namespace

std::u16string BytesToRawText(std::span<const std::byte> bytes) {
    const std::size_t length = bytes.size() < kMaxRawMessageLength ? bytes.size() : kMaxRawMessageLength;
    std::u16string text(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = std::to_integer<unsigned char>(bytes[i]);
        text[i] = byte < 128 ? static_cast<char16_t>(byte) : kReplacementCharacter;
    }
    return text;
}

void MaskNonAscii(std::u16string& text) {
    for (char16_t& c : text) {
        if (c > 127) c = u'?';
    }
}

int MonthFromName(std::u16string_view name) {
    for (const MonthName& entry : kMonthNames) {
        if (base::SameIgnoringAsciiCase(name, entry.name)) return entry.month;
    }
    return 0;
}

std::u16string_view TakeAlphanumericPrefix(std::u16string_view& text) {
    std::size_t length = 0;
    while (length < text.size() && length < kMaxProcessNameLength && IsAsciiAlphanumeric(text[length])) ++length;
    const std::u16string_view prefix = text.substr(0, length);
    text.remove_prefix(length);
    return prefix;
}

std::int32_t NumberFieldOr(std::u16string_view text, std::int32_t fallback) {
    while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
    return base::ParseIntegerOr(text, fallback);
}

}  // namespace kestrin::syslog
