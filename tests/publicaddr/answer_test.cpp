#include <gtest/gtest.h>

#include <string>

#include "files/ansi_text.h"
#include "publicaddr/public_address.h"
#include "support/trace.h"

namespace kestrin::publicaddr {
namespace {

TEST(AnswerTextTest, BlanksAndControlsGoAtBothEndsOnly) {
    struct Case {
        std::u16string text;
        std::u16string stripped;
    };
    const Case cases[] = {
        {u"", u""},
        {u" \t\r\n", u""},
        {u"203.0.113.7\n", u"203.0.113.7"},
        {u"\r\n 2001:db8::7 \r\n", u"2001:db8::7"},
        {std::u16string(1, u'\0') + u"\x01\x1F 1.2.3.4\x7F", u"1.2.3.4\x7F"},  // DEL is above 32
        {u"1.2.3.4\nextra", u"1.2.3.4\nextra"},
        {u"\u00A01.2.3.4", u"\u00A01.2.3.4"},  // a no-break space is no blank here
        {u"! ", u"!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.text));
        EXPECT_EQ(StripAnswerText(c.text), c.stripped);
    }
}

TEST(AnswerTextTest, BytesAreDecodedThenStripped) {
    EXPECT_EQ(AnswerText("\r\n203.0.113.7\r\n"), u"203.0.113.7");
    EXPECT_EQ(AnswerText(std::string("1.2.3.4\0", 8)), u"1.2.3.4");
    EXPECT_EQ(AnswerText(""), u"");
}

TEST(AnswerTextTest, AByteOrderMarkIsTextAndSpoilsTheAddress) {
    const std::u16string text = AnswerText("\xEF\xBB\xBF" "203.0.113.7\n");
    EXPECT_EQ(text.size(), 3 + 11u);
    EXPECT_EQ(text.substr(3), u"203.0.113.7");
    EXPECT_FALSE(IsValidAddress(text));
}

TEST(AnsiDecodeTest, EveryByteReadsBackAsItWasWritten) {
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const std::u16string text = FromAnsi(byte);
        ASSERT_EQ(text.size(), 1u) << value;
        if (value < 0x80) {
            EXPECT_EQ(text[0], static_cast<char16_t>(value));
        }
        EXPECT_EQ(files::ToAnsi(text), byte) << value;
    }
}

TEST(AnswerBodyTest, PiecesAddUpToTheLimit) {
    AnswerBody body;
    const std::string piece(kAnswerPieceSize, 'x');
    for (std::size_t read = 0; read < kMaxAnswerBytes; read += piece.size()) ASSERT_TRUE(body.Append(piece));
    EXPECT_TRUE(body.Append(""));
    EXPECT_FALSE(body.TooLong());
    EXPECT_EQ(body.Bytes().size(), kMaxAnswerBytes);
}

TEST(AnswerBodyTest, OneByteBeyondTheLimitDropsTheBody) {
    AnswerBody body;
    ASSERT_TRUE(body.Append(std::string(kMaxAnswerBytes - 1, ' ')));
    EXPECT_FALSE(body.Append("ab"));
    EXPECT_TRUE(body.TooLong());
    EXPECT_EQ(body.Bytes(), "");
    EXPECT_FALSE(body.Append("c"));  // and stays dropped
    EXPECT_EQ(body.Bytes(), "");
}

}  // namespace
}  // namespace kestrin::publicaddr
