#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/regional_formats.h"

namespace kestrin::base {
namespace {

std::wstring UserLocaleValue(LCTYPE item) {
    wchar_t buffer[128] = {};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

// Sets a user regional format for the test's duration and puts the old one back.
class ScopedUserFormat {
public:
    ScopedUserFormat(LCTYPE item, const wchar_t* value) : item_(item), old_(UserLocaleValue(item)) {
        ok_ = SetLocaleInfoW(LOCALE_USER_DEFAULT, item_, value) != 0;
    }
    ~ScopedUserFormat() { SetLocaleInfoW(LOCALE_USER_DEFAULT, item_, old_.c_str()); }
    ScopedUserFormat(const ScopedUserFormat&) = delete;
    ScopedUserFormat& operator=(const ScopedUserFormat&) = delete;
    bool ok() const { return ok_; }

private:
    LCTYPE item_;
    std::wstring old_;
    bool ok_ = false;
};

TEST(UserRegionalFormatsWin32Test, FollowsAChangeWhileRunning) {
    const LocalDateTime now{2026, 12, 8, 10, 15, 3, 250};
    const auto& formats = UserRegionalFormats();
    {
        ScopedUserFormat date(LOCALE_SSHORTDATE, L"dd.MM.yyyy");
        ScopedUserFormat time(LOCALE_STIMEFORMAT, L"HH:mm:ss");
        ASSERT_TRUE(date.ok() && time.ok());
        EXPECT_EQ(formats.ShortDate(now), u"08.12.2026");
        EXPECT_EQ(formats.LongTime(now), u"10:15:03");
    }
    {
        ScopedUserFormat date(LOCALE_SSHORTDATE, L"yyyy-MM-dd");
        ScopedUserFormat time(LOCALE_STIMEFORMAT, L"h:mm:ss tt");
        ASSERT_TRUE(date.ok() && time.ok());
        EXPECT_EQ(formats.ShortDate(now), u"2026-12-08");
        EXPECT_EQ(formats.LongTime({2026, 12, 8, 22, 15, 3, 0}).substr(0, 8), u"10:15:03");
    }
}

}  // namespace
}  // namespace kestrin::base
