#include "publicaddr/public_address.h"

namespace kestrin::publicaddr {

namespace {

bool IsBlankOrControl(char16_t c) { return c <= u' '; }

}  // namespace

std::u16string StripAnswerText(std::u16string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrControl(text[begin])) ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1])) --end;
    return std::u16string(text.substr(begin, end - begin));
}

std::u16string AnswerText(std::string_view bytes) { return StripAnswerText(FromAnsi(bytes)); }

}  // namespace kestrin::publicaddr
