#pragma once
// The user's regional date and time formats, as the operating system keeps
// them. They are looked up at every call, so a change the user makes while
// the program runs shows in the next text.

#include <string>

#include "base/date_time.h"

namespace kestrin::base {

class RegionalFormats {
public:
    virtual ~RegionalFormats() = default;
    // The date part in the user's short date format.
    virtual std::u16string ShortDate(const LocalDateTime& dateTime) const = 0;
    // The time of day in the user's long time format.
    virtual std::u16string LongTime(const LocalDateTime& dateTime) const = 0;
};

// Windows: the user's regional settings. POSIX: the LC_TIME category of the
// user's locale (LC_ALL, LC_TIME, LANG), read once.
const RegionalFormats& UserRegionalFormats();

}  // namespace kestrin::base
