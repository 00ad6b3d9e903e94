#include "base/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kestrin::base {
namespace {

TEST(TextTest, Utf8RoundTrip) {
    const std::u16string samples[] = {u"", u"plain", u"Größe", u"\u20AC", u"\U0001F600", std::u16string(1, u'\0')};
    for (const auto& sample : samples) EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(sample)), sample);
}

TEST(TextTest, BrokenUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD");          // overlong zero
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");      // encoded surrogate
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(TextTest, DecimalText) {
    EXPECT_EQ(DecimalText(0), u"0");
    EXPECT_EQ(DecimalText(-1), u"-1");
    EXPECT_EQ(DecimalText(191), u"191");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), u"-9223372036854775808");
}

TEST(TextTest, FillPlaceholderReplacesTheFirstOnly) {
    EXPECT_EQ(FillPlaceholder(u"E/A-Fehler %d", u"%d", u"32"), u"E/A-Fehler 32");
    EXPECT_EQ(FillPlaceholder(u"'%s' and %s", u"%s", u"%s"), u"'%s' and %s");
    EXPECT_EQ(FillPlaceholder(u"no slot", u"%s", u"x"), u"no slot");
}

}  // namespace
}  // namespace kestrin::base
