// Any service answer, decoded and stripped as the lookup does, and the same
// bytes read as UTF-16 code units: the address checks never fail, and what
// they accept is one line of address characters that nothing may follow.
// Built with libFuzzer by the fuzz preset, and natively into the corpus
// replay test, which calls LLVMFuzzerTestOneInput once per corpus file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "publicaddr/public_address.h"

namespace {

using namespace kestrin::publicaddr;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool IsIPv6Character(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f') || c == u':' ||
           c == u'.';
}

// What the integer text syntax and the quoting of dotted fields let through.
bool IsIPv4Character(char16_t c) {
    return IsIPv6Character(c) || c == u' ' || c == u'+' || c == u'-' || c == u'$' || c == u'x' || c == u'X' ||
           c == u'"';
}

void CheckText(std::u16string_view text) {
    const bool ipv6 = IsValidIPv6(text);
    const bool ipv4 = IsValidIPv4(text);
    Check(IsValidAddress(text) == (ipv6 || ipv4));
    if (ipv6) {
        Check(std::all_of(text.begin(), text.end(), IsIPv6Character));
        Check(std::count(text.begin(), text.end(), u':') >= 2);
    }
    if (ipv4) {
        Check(std::all_of(text.begin(), text.end(), IsIPv4Character));
        Check(SplitDottedFields(text).size() == 4);
    }
    // An address followed by more on the same line, or by a line break, is none.
    for (const char16_t next : {u'%', u'\n', u'\0', u'g'}) {
        std::u16string followed(text);
        followed += next;
        Check(!IsValidAddress(followed));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::u16string answer = AnswerText(bytes);
    Check(answer.empty() || (answer.front() > u' ' && answer.back() > u' '));
    Check(StripAnswerText(answer) == answer);
    CheckText(answer);

    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    CheckText(units);
    return 0;
}
