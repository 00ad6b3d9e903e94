#pragma once
// Regional formats of three kinds of user, the same on every machine.

#include <cstddef>
#include <string>

#include "base/date_time.h"
#include "base/regional_formats.h"
#include "base/text.h"

namespace kestrin::test {

// `value` in `width` digits, with leading zeros.
inline std::u16string Digits(int value, std::size_t width) {
    std::u16string text(width, u'0');
    for (std::size_t i = width; i-- > 0; value /= 10) text[i] = static_cast<char16_t>(u'0' + value % 10);
    return text;
}

// Day, point, month, point, four-digit year; 24-hour time with seconds:
// "08.12.2026", "10:15:03".
class GermanFormats final : public base::RegionalFormats {
public:
    std::u16string ShortDate(const base::LocalDateTime& t) const override {
        return Digits(t.day, 2) + u"." + Digits(t.month, 2) + u"." + base::DecimalText(t.year);
    }
    std::u16string LongTime(const base::LocalDateTime& t) const override {
        return Digits(t.hour, 2) + u":" + Digits(t.minute, 2) + u":" + Digits(t.second, 2);
    }
};

// Month/day/year without padding, a 12-hour time with an AM/PM designator:
// "12/8/2026", "10:15:03 AM".
class UsFormats final : public base::RegionalFormats {
public:
    std::u16string ShortDate(const base::LocalDateTime& t) const override {
        return base::DecimalText(t.month) + u"/" + base::DecimalText(t.day) + u"/" + base::DecimalText(t.year);
    }
    std::u16string LongTime(const base::LocalDateTime& t) const override {
        const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        return base::DecimalText(hour12) + u":" + Digits(t.minute, 2) + u":" + Digits(t.second, 2) +
               (t.hour < 12 ? u" AM" : u" PM");
    }
};

// ISO dates, 24 hours with seconds: "2026-12-08", "10:15:03".
class IsoFormats final : public base::RegionalFormats {
public:
    std::u16string ShortDate(const base::LocalDateTime& t) const override {
        return Digits(t.year, 4) + u'-' + Digits(t.month, 2) + u'-' + Digits(t.day, 2);
    }
    std::u16string LongTime(const base::LocalDateTime& t) const override {
        return Digits(t.hour, 2) + u':' + Digits(t.minute, 2) + u':' + Digits(t.second, 2);
    }
};

}  // namespace kestrin::test
