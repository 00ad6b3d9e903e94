#include "core/time_stamp_texts.h"

#include <array>
#include <string_view>

#include "base/text.h"

namespace kestrin::core {

namespace {

constexpr std::array<std::u16string_view, 7> kWeekdayAbbreviations{u"Mon", u"Tue", u"Wed", u"Thu",
                                                                   u"Fri", u"Sat", u"Sun"};
constexpr std::size_t kMinDateTimeWidth = 20;

}  // namespace

std::u16string TimeStampPrefix(const base::LocalDateTime& now, const base::RegionalFormats& formats) {
    std::u16string prefix(kWeekdayAbbreviations[static_cast<std::size_t>(base::IsoDayOfWeek(now) - 1)]);
    prefix += u' ';
    const std::size_t dateTimeStart = prefix.size();
    prefix += formats.ShortDate(now);
    if (!base::IsMidnight(now)) {
        prefix += u' ';
        prefix += formats.LongTime(now);
    }
    const std::size_t dateTimeLength = prefix.size() - dateTimeStart;
    if (dateTimeLength < kMinDateTimeWidth) prefix.append(kMinDateTimeWidth - dateTimeLength, u' ');
    return prefix;
}

std::u16string DayStamp(const base::LocalDateTime& dateTime) {
    const int yearOfCentury = dateTime.year % 100;
    std::u16string stamp = base::DecimalText(dateTime.day);
    stamp += u'_';
    stamp += base::DecimalText(dateTime.month);
    stamp += u'_';
    stamp += static_cast<char16_t>(u'0' + yearOfCentury / 10);
    stamp += static_cast<char16_t>(u'0' + yearOfCentury % 10);
    return stamp;
}

}  // namespace kestrin::core
