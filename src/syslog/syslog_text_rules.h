#pragma once
// The small text rules the syslog parser is built from.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrin::syslog {

// Longest datagram prefix that is read as text.
inline constexpr std::size_t kMaxRawMessageLength = 1024;
// Longest process name (tag) taken from a MSG part.
inline constexpr std::size_t kMaxProcessNameLength = 32;

// The first 1024 bytes, one character per byte: 0..127 keep their code,
// 128..255 become U+FFFD. No byte sequence is read as a multi-byte character.
std::u16string BytesToRawText(std::span<const std::byte> bytes);

// Replaces, in place, every character above 127 by "?".
void MaskNonAscii(std::u16string& text);

// Month 1..12 for a month name of the table (any letter case), else 0.
int MonthFromName(std::u16string_view name);

// Splits off the leading run of at most 32 ASCII letters and digits;
// `text` keeps the rest.
std::u16string_view TakeAlphanumericPrefix(std::u16string_view& text);

// The parser's number fields: characters 0..32 trimmed from both ends, then
// the lenient integer text syntax with `fallback`.
std::int32_t NumberFieldOr(std::u16string_view text, std::int32_t fallback);

}  // namespace kestrin::syslog
