#pragma once
// The machine's public IP address, as web services see it: the services are
// asked one after the other, and the first answer that is an address wins.
// An answer is read in steps: its bytes decoded and stripped to a text
// (AnswerText), the text then judged as an address (IsValidAddress).

#include <string>
#include <string_view>
#include <vector>

#include "publicaddr/service_request.h"

namespace kestrin::publicaddr {

// Asks each service in turn (AskService) until one answers a text that,
// decoded and stripped (AnswerText), passes IsValidAddress; returns that
// text as it was tested. The empty text when none does. A service that
// fails in any way or runs out of time is passed over, and so is a URL with
// a control character in it, unasked; nothing is thrown for either.
std::u16string FetchPublicAddress(const std::vector<std::u16string>& serviceUrls, const RequestLimits& limits = {});

// Reading 8-bit text in the system's ANSI code page, the counterpart of
// files::ToAnsi. A byte-order mark means nothing here: its bytes decode like
// any others.
std::u16string FromAnsi(std::string_view bytes);

// The text without the characters 0 to 32 (blank, tab, CR, LF and the other
// control characters) at either end; those inside stay.
std::u16string StripAnswerText(std::u16string_view text);

// The bytes decoded from the ANSI code page (FromAnsi), then stripped.
std::u16string AnswerText(std::string_view bytes);

// Whether a service's answer is an IP address. The rules are more lenient
// than the published notations in places, and a text is only judged, never
// normalised: the caller keeps and shows it exactly as it was tested.
// Numbers in fields follow the program's integer text syntax (integer_text.h).

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

// How an IPv4 answer is cut into its fields: at every ".", where a field
// that starts with a double quote is quoted ("" inside it stands for one ").
// A "." after a closing quote is its separator; any other character there
// starts the next field at once. A "." at the very end adds an empty field,
// and the empty text has no field at all.
std::vector<std::u16string> SplitDottedFields(std::u16string_view text);

}  // namespace kestrin::publicaddr
