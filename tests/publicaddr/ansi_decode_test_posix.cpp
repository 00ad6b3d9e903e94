#include "publicaddr/public_address.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrin::publicaddr {
namespace {

// Windows-1252 stands in for the ANSI code page here, as for writing.
TEST(AnsiDecodePosixTest, Windows1252) {
    EXPECT_EQ(FromAnsi("\x80\x81\x9F\xA0\xE4\xFF"), u"\u20AC\u0081\u0178\u00A0\u00E4\u00FF");
    EXPECT_EQ(FromAnsi("\xEF\xBB\xBF"), u"\u00EF\u00BB\u00BF");
    EXPECT_EQ(FromAnsi(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

}  // namespace
}  // namespace kestrin::publicaddr
