#pragma once
// The two texts made from the local clock: the time stamp prefix that starts
// every entry line and history line, and the day stamp that names a daily log.

#include <string>

#include "base/date_time.h"
#include "base/regional_formats.h"

namespace kestrin::core {

// English weekday abbreviation, a space, and the date in the user's short date
// format followed, unless it is exactly midnight, by a space and the time in
// the user's long time format; that date-time text is padded with spaces to at
// least 20 characters and never cut. "Tue 08.12.2026 10:15:03 ".
std::u16string TimeStampPrefix(const base::LocalDateTime& now, const base::RegionalFormats& formats);

// Day, "_", month, "_", two-digit year, independent of regional settings: "8_12_26", "5_1_09".
std::u16string DayStamp(const base::LocalDateTime& dateTime);

}  // namespace kestrin::core
