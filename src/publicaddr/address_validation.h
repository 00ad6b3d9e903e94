#pragma once
// Whether a service's answer is an IP address. The rules are more lenient
// than the published notations in places, and a text is only judged, never
// normalised: the caller keeps and shows it exactly as it was tested.
// Numbers in fields follow the program's integer text syntax (integer_text.h).

#include <string_view>

namespace kestrin::publicaddr {

// An IPv6 address (IsValidIPv6) or a dotted IPv4 address (IsValidIPv4).
bool IsValidAddress(std::u16string_view text);

// Hexadecimal fields of 0 to FFFF between colons, one "::" at most, 2 to 7
// colons; or 2 to 6 colons followed by a dotted tail of four decimal fields
// of 0 to 255, of whose last field only the first three characters count.
// A leading or trailing ":" is read as "0:" or ":0". Fewer than eight fields
// without "::" are accepted.
bool IsValidIPv6(std::u16string_view text);

// Exactly four dotted fields (SplitDottedFields), each an integer of 0 to
// 255: leading spaces, a sign, leading zeros (never octal) and hexadecimal
// fields ("$", "x", "0x") are accepted.
bool IsValidIPv4(std::u16string_view text);

}  // namespace kestrin::publicaddr
