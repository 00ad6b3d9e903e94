#include "publicaddr/public_address.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/trace.h"

namespace kestrin::publicaddr {
namespace {

struct Case {
    std::u16string text;
    bool valid;
};

void ExpectAll(bool (*check)(std::u16string_view), const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.text));
        EXPECT_EQ(check(c.text), c.valid);
    }
}

// The program's table of answers and how they are judged, row by row.
TEST(AddressValidationTest, TheRulesTable) {
    ExpectAll(IsValidAddress, {
                                  {u"203.0.113.7", true},
                                  {u"2001:db8::7", true},
                                  {u"::", true},
                                  {u"::1", true},
                                  {u"1::", true},
                                  {u"1:2:3", true},
                                  {u"1:2:3:4:5:6:7:8", true},
                                  {u"1:2:3:4:5:6:7:8:9", false},
                                  {u"1::2::3", false},
                                  {u"12345::1", false},
                                  {u"00000001::1", true},
                                  {u"::ffff:192.0.2.1", true},
                                  {u"1.2.3.4::1", false},
                                  {u"::1.2.3.2559", true},
                                  {u"::1.2.3.256", false},
                                  {u"fe80::1%4", false},
                                  {u"1.2.3", false},
                                  {u"1.2.3.4.", false},
                                  {u"1..3.4", false},
                                  {u"256.1.1.1", false},
                                  {u"-1.0.0.0", false},
                                  {u"010.0.0.1", true},
                                  {u"0x7F.0.0.1", true},
                                  {u"1. 2.3.4", true},
                                  {u"1 .2.3.4", false},
                                  {u"\"1\".2.3.4", true},
                                  {u"", false},
                              });
}

TEST(AddressValidationTest, IPv6Characters) {
    ExpectAll(IsValidIPv6, {
                               {u"ABCD:ef01::FFFF", true},
                               {u"abcg::1", false},
                               {u"[::1]", false},
                               {u":: ", false},
                               {u"::1/64", false},
                               {u"::\u0661", false},  // a digit, but not an ASCII one
                               {u"::1.2.3.a", false},  // no letters after a dot
                               {u"::1.2.3.4.5", false},
                           });
}

TEST(AddressValidationTest, IPv6ColonsAndFields) {
    ExpectAll(IsValidIPv6, {
                               {u":", false},  // "0:0", one colon
                               {u"1:2", false},
                               {u":::", false},  // "0:::0", two empty fields
                               {u"1:2:3:4:5:6::", true},
                               {u"::2:3:4:5:6:7", true},
                               {u"1::3:4:5:6:7:8", true},
                               {u"1:2:3:4:5:6:7::", false},  // "::0" makes the eighth colon
                               {u"::2:3:4:5:6:7:8", false},  // and "0::" here
                               {u"1:2:3:4:5:6:7:8:", false},
                               {u"FFFF::ffff", true},
                               {u"10000::1", false},
                               {u"0000000000000000FFFF::1", true},
                               {u"1:FFFFFFFF::1", false},  // reads as -1
                           });
}

TEST(AddressValidationTest, IPv6DottedTail) {
    ExpectAll(IsValidIPv6, {
                               {u"1:2:3:4:5:6:1.2.3.4", true},
                               {u"1:2:3:4:5::1.2.3.4", true},
                               {u"1:2:3:4:5:6:7:1.2.3.4", false},  // seven colons with a dotted tail
                               {u"1:1.2.3.4", false},              // one colon
                               {u"::1.2.3.4:5", false},            // a colon after the dots
                               {u"::1.2.3", false},
                               {u"::1.2", false},
                               {u"::.1.2.3", false},
                               {u"::1..2.3", false},
                               {u"::1.2.3.", false},
                               {u"::255.255.255.255", true},
                               {u"::0255.00.000.0000000", true},  // leading zeros, and "000" of the last
                               {u"::1.2.3.25x", false},
                               {u"::1a.2.3.4", false},  // a letter before the first dot, but not decimal
                               {u"::a:1.2.3.4", true},
                           });
}

TEST(AddressValidationTest, IPv4Fields) {
    ExpectAll(IsValidIPv4, {
                               {u"0.0.0.0", true},
                               {u"255.255.255.255", true},
                               {u"+1.2.3.4", true},
                               {u"   1.2.3.4", true},
                               {u"$FF.X0.0x10.0XfF", true},
                               {u"0x100.0.0.1", false},
                               {u"00000000000001.2.3.4", true},
                               {u"1.2.3.4 ", false},
                               {u"1.2.3.4\n", false},
                               {u"1.2.3.-0", true},
                               {u"1.2.3.$", false},
                               {u"1.2.3.4.5", false},
                               {u".1.2.3", false},
                               {u"\"1.2\".3.4", false},
                               {u"\"1\"\"\".2.3.4", false},  // the field is 1"
                               {u"\"1\"2.3.4", true},       // the quote ends the field, "2" starts the next
                               {u"\"1\".\"2\".\"3\".\"4\"", true},
                               {u"1.2.3.\"4", true},  // an open quote takes the rest
                               {u"1.2.3.\"4\".", false},
                           });
}

TEST(AddressValidationTest, DottedFieldsSplitAtEveryDot) {
    struct Split {
        std::u16string text;
        std::vector<std::u16string> fields;
    };
    const Split cases[] = {
        {u"", {}},
        {u".", {u"", u""}},
        {u"a", {u"a"}},
        {u"a.b", {u"a", u"b"}},
        {u"a.", {u"a", u""}},
        {u"a..b", {u"a", u"", u"b"}},
        {u" a . b ", {u" a ", u" b "}},
        {u"a\"b.c", {u"a\"b", u"c"}},  // a quote inside a field is a character
        {u"\"a.b\".c", {u"a.b", u"c"}},
        {u"\"a\"\"b\"", {u"a\"b"}},
        {u"\"a\"b", {u"a", u"b"}},
        {u"\"a\"\"b", {u"a\"b"}},
        {u"\"a.b", {u"a.b"}},
        {u"\"\"", {u""}},
        {u"\"a\".", {u"a", u""}},
        {u"\"a\"..", {u"a", u"", u""}},
    };
    for (const Split& c : cases) {
        SCOPED_TRACE(Trace(c.text));
        EXPECT_EQ(SplitDottedFields(c.text), c.fields);
    }
}

}  // namespace
}  // namespace kestrin::publicaddr
