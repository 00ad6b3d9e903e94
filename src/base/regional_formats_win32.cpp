#include <windows.h>

#include "base/regional_formats.h"
#include "base/win32_text.h"

namespace kestrin::base {

namespace {

SYSTEMTIME ToSystemTime(const LocalDateTime& dateTime) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(dateTime.year);
    time.wMonth = static_cast<WORD>(dateTime.month);
    time.wDay = static_cast<WORD>(dateTime.day);
    time.wHour = static_cast<WORD>(dateTime.hour);
    time.wMinute = static_cast<WORD>(dateTime.minute);
    time.wSecond = static_cast<WORD>(dateTime.second);
    time.wMilliseconds = static_cast<WORD>(dateTime.millisecond);
    return time;
}

// Calls one of the Get*FormatEx functions, growing the buffer when needed.
template <typename FormatCall>
std::u16string CallFormat(FormatCall format) {
    wchar_t buffer[128];
    int length = format(buffer, static_cast<int>(std::size(buffer)));
    if (length > 0) return FromWide({buffer, static_cast<std::size_t>(length - 1)});
    length = format(nullptr, 0);
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    length = format(AsWide(text), length);
    text.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    return text;
}

// Asks the system each time: it keeps the user's settings current, also after
// the user changes them while the program runs.
class Win32RegionalFormats final : public RegionalFormats {
public:
    std::u16string ShortDate(const LocalDateTime& dateTime) const override {
        const SYSTEMTIME time = ToSystemTime(dateTime);
        return CallFormat([&](wchar_t* buffer, int size) {
            return ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, size, nullptr);
        });
    }
    std::u16string LongTime(const LocalDateTime& dateTime) const override {
        const SYSTEMTIME time = ToSystemTime(dateTime);
        return CallFormat([&](wchar_t* buffer, int size) {
            return ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, buffer, size);
        });
    }
};

}  // namespace

const RegionalFormats& UserRegionalFormats() {
    static const Win32RegionalFormats formats;
    return formats;
}

}  // namespace kestrin::base
