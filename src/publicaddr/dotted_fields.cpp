#include "publicaddr/public_address.h"

#include <algorithm>

namespace kestrin::publicaddr {

namespace {

constexpr char16_t kSeparator = u'.';
constexpr char16_t kQuote = u'"';

// Reads the quoted field that starts at `i` (its opening quote) and leaves
// `i` after its closing quote, or at the end when there is none.
std::u16string ReadQuotedField(std::u16string_view text, std::size_t& i) {
    std::u16string field;
    ++i;
    while (i < text.size()) {
        if (text[i] == kQuote) {
            if (i + 1 < text.size() && text[i + 1] == kQuote) {
                field += kQuote;
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        field += text[i++];
    }
    return field;
}

}  // namespace

std::vector<std::u16string> SplitDottedFields(std::u16string_view text) {
    std::vector<std::u16string> fields;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == kQuote) {
            fields.push_back(ReadQuotedField(text, i));
            if (i == text.size() || text[i] != kSeparator) continue;
        } else {
            const std::size_t end = std::min(text.find(kSeparator, i), text.size());
            fields.emplace_back(text.substr(i, end - i));
            i = end;
            if (i == text.size()) break;
        }
        ++i;  // the separator
        if (i == text.size()) fields.emplace_back();
    }
    return fields;
}

}  // namespace kestrin::publicaddr
