#pragma once
// Local calendar date and time of day, to the millisecond, and the clock.

#include <chrono>
#include <cstdint>

namespace kestrin::base {

struct LocalDateTime {
    // The zero date-time is 30 December 1899, midnight.
    int year = 1899;
    int month = 12;  // 1..12
    int day = 30;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

bool IsLeapYear(int year);
// Days in the month of the year; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
// Whether the date exists (1 January 1 to 31 December 9999).
bool IsValidDate(int year, int month, int day);
// 1 for Monday to 7 for Sunday.
int IsoDayOfWeek(const LocalDateTime& dateTime);
bool IsMidnight(const LocalDateTime& dateTime);
// The time from `from` to `to`; negative when `to` comes first.
std::chrono::milliseconds TimeBetween(const LocalDateTime& from, const LocalDateTime& to);

// Source of the current local date and time; tests give a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() const = 0;
};

// The machine's local clock.
const Clock& SystemClock();

}  // namespace kestrin::base
