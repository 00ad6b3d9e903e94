#include "core/time_stamp_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fixed_formats.h"

namespace kestrin::core {
namespace {

using base::LocalDateTime;
using test::GermanFormats;
using test::UsFormats;

TEST(TimeStampPrefixTest, WeekdayDateAndTimePaddedToTwentyCharacters) {
    const GermanFormats german;
    struct Case {
        LocalDateTime now;
        std::u16string prefix;
    };
    const Case cases[] = {
        {{2026, 12, 8, 10, 15, 3, 250}, u"Tue 08.12.2026 10:15:03 "},
        {{2026, 12, 8, 0, 0, 0, 0}, u"Tue 08.12.2026          "},  // midnight: the date alone
        {{2026, 12, 8, 0, 0, 0, 1}, u"Tue 08.12.2026 00:00:00 "},
        {{2026, 12, 7, 23, 59, 59, 999}, u"Mon 07.12.2026 23:59:59 "},
        {{2026, 12, 9, 1, 0, 0, 0}, u"Wed 09.12.2026 01:00:00 "},
        {{2026, 12, 10, 1, 0, 0, 0}, u"Thu 10.12.2026 01:00:00 "},
        {{2026, 12, 11, 1, 0, 0, 0}, u"Fri 11.12.2026 01:00:00 "},
        {{2026, 12, 12, 1, 0, 0, 0}, u"Sat 12.12.2026 01:00:00 "},
        {{2026, 12, 13, 1, 0, 0, 0}, u"Sun 13.12.2026 01:00:00 "},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeStampPrefix(c.now, german), c.prefix);
}

TEST(TimeStampPrefixTest, LongDateTimeTextIsNeitherPaddedNorCut) {
    const UsFormats us;
    EXPECT_EQ(TimeStampPrefix({2026, 12, 8, 22, 15, 3, 0}, us), u"Tue 12/8/2026 10:15:03 PM");
    EXPECT_EQ(TimeStampPrefix({2026, 12, 8, 0, 0, 0, 0}, us), u"Tue 12/8/2026" + std::u16string(11, u' '));
}

TEST(TimeStampPrefixTest, FollowsTheFormatsOfTheMomentButDayStampDoesNot) {
    const LocalDateTime now{2026, 12, 8, 10, 15, 3, 0};
    EXPECT_NE(TimeStampPrefix(now, GermanFormats()), TimeStampPrefix(now, UsFormats()));
    EXPECT_EQ(DayStamp(now), u"8_12_26");
}

TEST(DayStampTest, DayMonthAndTwoDigitYear) {
    struct Case {
        LocalDateTime date;
        std::u16string stamp;
    };
    const Case cases[] = {
        {{2026, 12, 8}, u"8_12_26"}, {{2009, 1, 5}, u"5_1_09"},  {{2030, 10, 31}, u"31_10_30"},
        {{2000, 1, 1}, u"1_1_00"},   {{2100, 2, 28}, u"28_2_00"}, {{1999, 12, 31, 23, 59, 59, 999}, u"31_12_99"},
    };
    for (const Case& c : cases) EXPECT_EQ(DayStamp(c.date), c.stamp);
}

TEST(UserRegionalFormatsTest, WritesTheDateAndTheTime) {
    const auto& formats = base::UserRegionalFormats();
    const LocalDateTime now{2026, 12, 8, 22, 15, 3, 0};
    const std::u16string date = formats.ShortDate(now);
    const std::u16string time = formats.LongTime(now);
    EXPECT_NE(date.find(u"26"), std::u16string::npos) << base::Utf16ToUtf8(date);
    EXPECT_NE(date.find(u"8"), std::u16string::npos) << base::Utf16ToUtf8(date);
    EXPECT_NE(time.find(u"15"), std::u16string::npos) << base::Utf16ToUtf8(time);
    EXPECT_NE(time.find(u"03"), std::u16string::npos) << base::Utf16ToUtf8(time);
}

}  // namespace
}  // namespace kestrin::core
