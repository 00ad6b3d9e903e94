#include <array>
#include <string>

#include "files/ansi_text.h"

// Without a system ANSI code page, Windows-1252 stands in for it: it agrees
// with Latin-1 except for 0x80 to 0x9F, where it holds typographic characters.

namespace kestrin::files {

namespace {

// The characters of the bytes 0x80 to 0x9F. The five bytes that 1252 leaves
// free map to the control characters of the same value, as on Windows.
constexpr std::array<char16_t, 32> kBytes80To9F = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr char kReplacement = '?';

char NonAsciiToWindows1252(char16_t c) {
    if (c >= 0xA0 && c <= 0xFF) return static_cast<char>(c);
    for (std::size_t i = 0; i < kBytes80To9F.size(); ++i) {
        if (kBytes80To9F[i] == c) return static_cast<char>(0x80 + i);
    }
    return kReplacement;
}

}  // namespace

std::string ToAnsi(std::u16string_view text) {
    // One byte per UTF-16 code unit, as on Windows: a character beyond U+FFFF
    // (two code units) becomes "??".
    std::string bytes(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        bytes[i] = c < 0x80 ? static_cast<char>(c) : NonAsciiToWindows1252(c);
    }
    return bytes;
}

}  // namespace kestrin::files
