#pragma once
// From the bytes a service answered to the text that is judged as an address.

#include <string>
#include <string_view>

namespace kestrin::publicaddr {

// The text without the characters 0 to 32 (blank, tab, CR, LF and the other
// control characters) at either end; those inside stay.
std::u16string StripAnswerText(std::u16string_view text);

// The bytes decoded from the ANSI code page (FromAnsi), then stripped.
std::u16string AnswerText(std::string_view bytes);

}  // namespace kestrin::publicaddr
