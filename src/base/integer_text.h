#pragma once
// The one rule by which the program reads a signed 32-bit integer from a text
// (settings, the syslog parser's number fields, address fields):
//   spaces* [+|-] ( ("$" | "x" | "X" | "0x" | "0X") hexdigits | decdigits )
// Only U+0020 counts as a leading space; nothing may follow the digits.
// Decimal numbers must fit in -2147483648..2147483647. Hexadecimal numbers
// take at most eight significant digits, read as a 32-bit two's-complement
// value ("$FFFFFFFF" is -1) that a leading "-" negates.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrin::base {

// The value, or nothing when the text does not follow the rule.
std::optional<std::int32_t> TryParseInteger(std::u16string_view text);

// Strict form: throws EConvertError "'<text>' ist kein gültiger Integerwert".
std::int32_t ParseInteger(std::u16string_view text);

// Lenient form: `fallback` when the text does not follow the rule.
std::int32_t ParseIntegerOr(std::u16string_view text, std::int32_t fallback);

}  // namespace kestrin::base
