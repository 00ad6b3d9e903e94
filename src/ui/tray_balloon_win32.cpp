// The tray icon's balloons: each request replaces the balloon on screen, and
// an empty one removes it.

#include <algorithm>
#include <chrono>

#include "ui/tray_icon_win32.h"

namespace kestrin::ui {

namespace {

// Balloons of this display time or longer are left to the shell's own time-out.
constexpr int kLongestTimedBalloon = 10000;
constexpr int kClearingDelay = 5000;

DWORD InfoFlags(core::TBalloonType type) {
    switch (type) {
        case core::btError: return NIIF_ERROR;
        case core::btInfo: return NIIF_INFO;
        case core::btWarning: return NIIF_WARNING;
        default: return NIIF_NONE;
    }
}

// Copies at most `limit` UTF-16 units and the terminating zero, without
// parting a surrogate pair.
template <std::size_t N>
void CopyCut(WCHAR (&field)[N], const std::u16string& text, std::size_t limit) {
    std::size_t length = std::min(text.size(), limit);
    if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) --length;
    std::copy_n(text.begin(), length, field);
    field[length] = L'\0';
}

}  // namespace

bool TJvTrayIcon::AcceptBalloons() {
    return shell_.Version().AtLeast5();
}

void TJvTrayIcon::BalloonHint(const std::u16string& title, const std::u16string& value,
                              core::TBalloonType balloonType, int delayMilliseconds, bool cancelPrevious) {
    // Balloons need the icon; one asked for while it is absent is dropped.
    if (!iconVisible_ || !AcceptBalloons()) return;
    // Cleared first, so the clearing requests do not overwrite this one's time.
    if (cancelPrevious) HideBalloon();
    balloonTime_ = clock_.Now();
    balloonDelay_ = std::chrono::floor<std::chrono::seconds>(std::chrono::milliseconds{delayMilliseconds});
    const bool empty = title.empty() && value.empty();
    CopyCut(iconData_.szInfoTitle, title, kMaxInfoTitleLength);
    CopyCut(iconData_.szInfo, value, kMaxInfoLength);
    iconData_.uTimeOut = static_cast<UINT>(std::max(delayMilliseconds, 0));
    iconData_.dwInfoFlags = InfoFlags(balloonType);
    if (!Notify(NIM_MODIFY, NIF_INFO)) return;
    balloonCount_ = empty ? std::max(balloonCount_ - 1, 0) : balloonCount_ + 1;
    if (delayMilliseconds < kLongestTimedBalloon && !empty) {
        StartTimer(kBalloonTimerId, static_cast<UINT>(std::max(delayMilliseconds, 0)));
    }
}

void TJvTrayIcon::HideBalloon() {
    // An empty balloon replaces the one shown, which removes it.
    const int requests = balloonCount_ + 1;
    for (int i = 0; i < requests; ++i) BalloonHint(u"", u"", core::btNone, kClearingDelay, false);
}

void TJvTrayIcon::BalloonTimerExpired() {
    StopTimer(kBalloonTimerId);
    HideBalloon();
}

LRESULT TJvTrayIcon::BalloonEvent(LPARAM event) {
    if (event == NIN_BALLOONTIMEOUT) {
        // The shell's time-out may come early (no user input): the balloon
        // stays for its own display time.
        using namespace std::chrono;
        const milliseconds elapsed = base::TimeBetween(balloonTime_, clock_.Now());
        if (elapsed >= milliseconds::zero() && floor<seconds>(elapsed) > balloonDelay_) HideBalloon();
    } else if (event == NIN_BALLOONUSERCLICK) {
        HideBalloon();
    }
    return 1;
}

}  // namespace kestrin::ui
