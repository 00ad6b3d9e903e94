#include <array>
#include <string>

#include "files/ansi_text.h"
#include "publicaddr/public_address.h"

// The code page that stands in for the system's is whatever files::ToAnsi
// writes; decoding inverts it, so text written and read back agrees.

namespace kestrin::publicaddr {

namespace {

using ByteTable = std::array<char16_t, 256>;

// For a byte that no character is written as.
constexpr char16_t kUnmapped = u'\uFFFD';

ByteTable InvertToAnsi() {
    ByteTable table;
    table.fill(kUnmapped);
    for (std::size_t byte = 0; byte < 0x80; ++byte) table[byte] = static_cast<char16_t>(byte);
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        const char16_t character = static_cast<char16_t>(c);
        const auto byte = static_cast<unsigned char>(files::ToAnsi({&character, 1}).front());
        if (byte >= 0x80 && table[byte] == kUnmapped) table[byte] = character;
    }
    return table;
}

}  // namespace

std::u16string FromAnsi(std::string_view bytes) {
    static const ByteTable table = InvertToAnsi();
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = table[static_cast<unsigned char>(bytes[i])];
    return text;
}

}  // namespace kestrin::publicaddr
