#include "base/date_time.h"

#include <gtest/gtest.h>

namespace kestrin::base {
namespace {

TEST(DateTimeTest, CalendarRules) {
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_FALSE(IsValidDate(2026, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(2026, 4, 31));
    EXPECT_FALSE(IsValidDate(2026, 13, 1));
    EXPECT_FALSE(IsValidDate(2026, 1, 0));
}

TEST(DateTimeTest, IsoDayOfWeek) {
    EXPECT_EQ(IsoDayOfWeek({2026, 12, 7}), 1);  // Monday
    EXPECT_EQ(IsoDayOfWeek({2026, 12, 8}), 2);
    EXPECT_EQ(IsoDayOfWeek({2026, 12, 13}), 7);  // Sunday
    EXPECT_EQ(IsoDayOfWeek({2000, 1, 1}), 6);
    EXPECT_EQ(IsoDayOfWeek(LocalDateTime{}), 6);  // 30 December 1899
}

TEST(DateTimeTest, TimeBetweenCrossesDaysMonthsAndYears) {
    using std::chrono::milliseconds;
    EXPECT_EQ(TimeBetween({2026, 12, 31, 23, 59, 59, 500}, {2027, 1, 1, 0, 0, 1, 0}), milliseconds(1500));
    EXPECT_EQ(TimeBetween({2024, 2, 28, 12}, {2024, 3, 1, 12}), milliseconds(2 * 86400 * 1000));
    EXPECT_EQ(TimeBetween({2026, 12, 8, 10, 0, 5}, {2026, 12, 8, 10}), milliseconds(-5000));
}

TEST(DateTimeTest, SystemClockGivesAPlausibleDate) {
    const LocalDateTime now = SystemClock().Now();
    EXPECT_TRUE(IsValidDate(now.year, now.month, now.day));
    EXPECT_GE(now.year, 2024);
    EXPECT_LT(now.millisecond, 1000);
}

}  // namespace
}  // namespace kestrin::base
