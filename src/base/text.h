#pragma once
// Small text helpers. Texts are UTF-16 (std::u16string) everywhere in the
// program; UTF-8 appears only at the edges (std::exception::what, POSIX APIs).

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin::base {

// Invalid sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Text made of ASCII characters only, widened; for literals that need no u"".
std::u16string AsciiToUtf16(std::string_view ascii);

// The number in decimal, with a leading "-" when negative.
std::u16string DecimalText(std::int64_t value);

// Equal but for the case of the ASCII letters: "a" to "z" match "A" to "Z",
// every other character only itself. The 8-bit form is for byte texts.
bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// `pattern` with its first occurrence of `placeholder` ("%s", "%d") replaced.
std::u16string FillPlaceholder(std::u16string_view pattern, std::u16string_view placeholder,
                               std::u16string_view value);

}  // namespace kestrin::base
