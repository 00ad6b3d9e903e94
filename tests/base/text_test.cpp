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

TEST(TextTest, SameIgnoringAsciiCaseFoldsTheAsciiLettersOnly) {
    struct Case {
        std::u16string_view a;
        std::u16string_view b;
        bool same;
    };
    const Case cases[] = {
        {u"", u"", true},          {u"ipv4", u"IPV4", true},    {u"Main", u"mAIN", true},
        {u"AZaz", u"azAZ", true},  {u"@[`{", u"@[`{", true},    {u"@", u"`", false},  // the neighbours of the letters
        {u"[", u"{", false},       {u"Main", u"Mai", false},    {u"Mai", u"Main", false},
        {u"é", u"É", false},  // Latin-1 letters keep their case
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameIgnoringAsciiCase(c.a, c.b), c.same) << Utf16ToUtf8(c.a) << " / " << Utf16ToUtf8(c.b);
        // The byte form agrees, a byte standing for the character of its value.
        std::string a(c.a.begin(), c.a.end());
        std::string b(c.b.begin(), c.b.end());
        EXPECT_EQ(SameIgnoringAsciiCase(std::string_view(a), std::string_view(b)), c.same);
    }
}

}  // namespace
}  // namespace kestrin::base
