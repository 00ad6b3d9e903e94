#include "base/integer_text.h"

#include <gtest/gtest.h>

#include <optional>

#include "base/exception.h"
#include "support/expect_error.h"
#include "support/trace.h"

namespace kestrin::base {
namespace {

struct Case {
    std::u16string_view text;
    std::optional<std::int32_t> value;
};

TEST(IntegerTextTest, DecimalNumbers) {
    const Case cases[] = {
        {u"0", 0},
        {u"42", 42},
        {u"+42", 42},
        {u"-42", -42},
        {u"0013", 13},
        {u"000000000000000000013", 13},
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"99999999999999999999999", std::nullopt},
        {u"-0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.text));
        EXPECT_EQ(TryParseInteger(c.text), c.value);
    }
}

TEST(IntegerTextTest, HexadecimalNumbers) {
    const Case cases[] = {
        {u"$10", 16},
        {u"x10", 16},
        {u"X10", 16},
        {u"0x10", 16},
        {u"0X10", 16},
        {u"$aBcD", 0xABCD},
        {u"$7FFFFFFF", 2147483647},
        {u"$80000000", -2147483647 - 1},
        {u"$FFFFFFFF", -1},
        {u"$FFFFFFFE", -2},
        {u"$000000000FF", 255},  // leading zeros are not significant
        {u"$100000000", std::nullopt},  // nine significant digits
        {u"-$10", -16},
        {u"+$10", 16},
        {u"-0x10", -16},
        {u"-$FFFFFFFF", 1},
        {u"-$80000000", -2147483647 - 1},  // negation wraps in 32 bits
        {u"$G", std::nullopt},
        {u"0x", std::nullopt},
        {u"$", std::nullopt},
        {u"$-5", std::nullopt},
        {u"0x0x1", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.text));
        EXPECT_EQ(TryParseInteger(c.text), c.value);
    }
}

TEST(IntegerTextTest, SpacesSignsAndJunk) {
    const Case cases[] = {
        {u"", std::nullopt},
        {u" ", std::nullopt},
        {u"   7", 7},
        {u"  -7", -7},
        {u"7 ", std::nullopt},  // nothing may follow the digits
        {u"- 7", std::nullopt},
        {u"+", std::nullopt},
        {u"-", std::nullopt},
        {u"--7", std::nullopt},
        {u"\t7", std::nullopt},  // only U+0020 is skipped
        {u"7a", std::nullopt},
        {u"1.5", std::nullopt},
        {u"\uFF17", std::nullopt},  // a full-width digit is no digit
        {std::u16string_view(u"7\0", 2), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.text));
        EXPECT_EQ(TryParseInteger(c.text), c.value);
    }
}

TEST(IntegerTextTest, StrictFormNamesTheTextInItsError) {
    EXPECT_EQ(ParseInteger(u" 514"), 514);
    EXPECT_THROW_MSG(ParseInteger(u"abc"), EConvertError, u"'abc' ist kein gültiger Integerwert");
    EXPECT_THROW_MSG(ParseInteger(u""), EConvertError, u"'' ist kein gültiger Integerwert");
    EXPECT_THROW_MSG(ParseInteger(u"514 "), EConvertError, u"'514 ' ist kein gültiger Integerwert");
}

TEST(IntegerTextTest, LenientFormFallsBack) {
    EXPECT_EQ(ParseIntegerOr(u"12", -1), 12);
    EXPECT_EQ(ParseIntegerOr(u"twelve", -1), -1);
    EXPECT_EQ(ParseIntegerOr(u"", 0), 0);
}

}  // namespace
}  // namespace kestrin::base
