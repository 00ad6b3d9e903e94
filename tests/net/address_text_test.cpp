#include "net/address_text.h"

#include <gtest/gtest.h>

namespace kestrin::net {
namespace {

TEST(AddressTextTest, IPv4IsDottedDecimalWithoutLeadingZeros) {
    struct Case {
        std::array<std::uint8_t, 4> address;
        std::u16string text;
    };
    const Case cases[] = {
        {{127, 0, 0, 1}, u"127.0.0.1"},
        {{0, 0, 0, 0}, u"0.0.0.0"},
        {{255, 255, 255, 255}, u"255.255.255.255"},
        {{10, 1, 20, 100}, u"10.1.20.100"},
        {{192, 168, 9, 8}, u"192.168.9.8"},
    };
    for (const Case& c : cases) EXPECT_EQ(IPv4AddressText(c.address), c.text);
}

TEST(AddressTextTest, IPv6HasEightUpperCaseGroupsNeverShortened) {
    struct Case {
        std::array<std::uint8_t, 16> address;
        std::u16string text;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, u"0:0:0:0:0:0:0:1"},
        {{}, u"0:0:0:0:0:0:0:0"},
        {{0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0x02, 0x1A, 0x2B, 0xFF, 0xFE, 0x3C, 0x4D, 0x5E},
         u"FE80:0:0:0:21A:2BFF:FE3C:4D5E"},
        {{0x20, 0x01, 0x0D, 0xB8, 0x00, 0x10, 0x01, 0x00, 0x00, 0x0F, 0xF0, 0x00, 0xAB, 0xCD, 0xFF, 0xFF},
         u"2001:DB8:10:100:F:F000:ABCD:FFFF"},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 127, 0, 0, 1}, u"0:0:0:0:0:FFFF:7F00:1"},
    };
    for (const Case& c : cases) EXPECT_EQ(IPv6AddressText(c.address), c.text);
}

}  // namespace
}  // namespace kestrin::net
