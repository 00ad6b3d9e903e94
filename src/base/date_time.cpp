#include "base/date_time.h"

#include <chrono>

namespace kestrin::base {

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
    using namespace std::chrono;
    const year_month_day date{year{dateTime.year}, month{static_cast<unsigned>(dateTime.month)},
                              day{static_cast<unsigned>(dateTime.day)}};
    return static_cast<int>(weekday{sys_days{date}}.iso_encoding());
}

bool IsMidnight(const LocalDateTime& dateTime) {
    return dateTime.hour == 0 && dateTime.minute == 0 && dateTime.second == 0 && dateTime.millisecond == 0;
}

}  // namespace kestrin::base
