#include <langinfo.h>
#include <locale.h>

#include <ctime>

#include "base/regional_formats.h"
#include "base/text.h"
#include "base/unique_handle.h"

namespace kestrin::base {

namespace {

class PosixRegionalFormats final : public RegionalFormats {
public:
    PosixRegionalFormats() : locale_(::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr))) {
        if (!locale_) locale_.Reset(::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr)));
    }

    std::u16string ShortDate(const LocalDateTime& dateTime) const override { return Format(D_FMT, dateTime); }
    std::u16string LongTime(const LocalDateTime& dateTime) const override { return Format(T_FMT, dateTime); }

private:
    std::u16string Format(nl_item item, const LocalDateTime& dateTime) const {
        tm fields{};
        fields.tm_year = dateTime.year - 1900;
        fields.tm_mon = dateTime.month - 1;
        fields.tm_mday = dateTime.day;
        fields.tm_hour = dateTime.hour;
        fields.tm_min = dateTime.minute;
        fields.tm_sec = dateTime.second;
        fields.tm_wday = IsoDayOfWeek(dateTime) % 7;
        fields.tm_isdst = -1;
        char buffer[256];
        const locale_t locale = locale_.Get();
        const std::size_t length = ::strftime_l(buffer, sizeof buffer, ::nl_langinfo_l(item, locale), &fields, locale);
        return Utf8ToUtf16(std::string_view(buffer, length));
    }

    UniqueHandle<locale_t, freelocale> locale_;
};

}  // namespace

const RegionalFormats& UserRegionalFormats() {
    static const PosixRegionalFormats formats;
    return formats;
}

}  // namespace kestrin::base
