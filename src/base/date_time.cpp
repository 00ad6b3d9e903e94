#include "base/date_time.h"

#include <chrono>

namespace kestrin::base {

namespace {

std::chrono::sys_days Date(const LocalDateTime& dateTime) {
    using namespace std::chrono;
    return year_month_day{year{dateTime.year}, month{static_cast<unsigned>(dateTime.month)},
                          day{static_cast<unsigned>(dateTime.day)}};
}

std::chrono::milliseconds SinceEpoch(const LocalDateTime& dateTime) {
    using namespace std::chrono;
    return Date(dateTime).time_since_epoch() + hours{dateTime.hour} + minutes{dateTime.minute} +
           seconds{dateTime.second} + milliseconds{dateTime.millisecond};
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

int IsoDayOfWeek(const LocalDateTime& dateTime) {
    return static_cast<int>(std::chrono::weekday{Date(dateTime)}.iso_encoding());
}

bool IsMidnight(const LocalDateTime& dateTime) {
    return dateTime.hour == 0 && dateTime.minute == 0 && dateTime.second == 0 && dateTime.millisecond == 0;
}

std::chrono::milliseconds TimeBetween(const LocalDateTime& from, const LocalDateTime& to) {
    return SinceEpoch(to) - SinceEpoch(from);
}

}  // namespace kestrin::base
