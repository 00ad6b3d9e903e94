// The tray icon's balloons: each request replaces the balloon on screen, and
// an empty one removes it. The shell is asked at most once per burst of
// requests, and at most twice to clear them.

#include <algorithm>
#include <chrono>
#include <utility>

#include "ui/tray_icon_win32.h"

namespace kestrin::ui {

namespace {

// Balloons of this display time or longer are left to the shell's own time-out.
constexpr int kLongestTimedBalloon = 10000;
constexpr int kClearingDelay = 5000;
// Counting each balloon ever shown would make the clearing after a storm one
// shell call per balloon, each removing one already gone.
constexpr int kMostBalloonsShown = 1;

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
    return FShell.Version().AtLeast5();
}

bool TJvTrayIcon::SendBalloon(const std::u16string& title, const std::u16string& value,
                              core::TBalloonType balloonType, int delayMilliseconds) {
    CopyCut(FIconData.szInfoTitle, title, kMaxInfoTitleLength);
    CopyCut(FIconData.szInfo, value, kMaxInfoLength);
    FIconData.uTimeOut = static_cast<UINT>(std::max(delayMilliseconds, 0));
    FIconData.dwInfoFlags = InfoFlags(balloonType);
    return Notify(NIM_MODIFY, NIF_INFO);
}

void TJvTrayIcon::BalloonHint(const std::u16string& title, const std::u16string& value,
                              core::TBalloonType balloonType, int delayMilliseconds, bool cancelPrevious) {
    // Balloons need the icon; one asked for while it is absent is dropped.
    if (!FIconVisible || !AcceptBalloons()) return;
    // Cleared first, so the clearing requests do not overwrite this one's time.
    if (cancelPrevious) HideBalloon();
    FTime = FClock.Now();
    FTimeDelay = std::chrono::floor<std::chrono::seconds>(std::chrono::milliseconds{delayMilliseconds});
    if (title.empty() && value.empty()) {
        if (SendBalloon(title, value, balloonType, delayMilliseconds)) FBalloonCount = std::max(FBalloonCount - 1, 0);
        return;
    }
    // Asked for inside a delivery: the shell call, which blocks until the
    // shell has answered, comes once the burst's deliveries have run.
    if (!FWaitingBalloon) StartTimer(kBalloonSendTimerId, kBalloonSendDelay);
    FWaitingBalloon = Balloon{title, value, balloonType, delayMilliseconds};
}

void TJvTrayIcon::BalloonSendTimerExpired() {
    StopTimer(kBalloonSendTimerId);
    const std::optional<Balloon> balloon = std::exchange(FWaitingBalloon, std::nullopt);
    // The icon went meanwhile: dropped, as if asked for now.
    if (!balloon || !FIconVisible) return;
    if (!SendBalloon(balloon->title, balloon->value, balloon->type, balloon->delayMilliseconds)) return;
    // Each balloon replaces the one on screen: one at most is shown.
    FBalloonCount = std::min(FBalloonCount + 1, kMostBalloonsShown);
    if (balloon->delayMilliseconds < kLongestTimedBalloon) {
        StartTimer(kBalloonTimerId, static_cast<UINT>(std::max(balloon->delayMilliseconds, 0)));
    }
}

void TJvTrayIcon::HideBalloon() {
    // An empty balloon replaces the one shown, which removes it; one more
    // covers a shell that still holds it.
    const int requests = FBalloonCount + 1;
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
        const milliseconds elapsed = base::TimeBetween(FTime, FClock.Now());
        if (elapsed >= milliseconds::zero() && floor<seconds>(elapsed) > FTimeDelay) HideBalloon();
    } else if (event == NIN_BALLOONUSERCLICK) {
        HideBalloon();
    }
    return 1;
}

}  // namespace kestrin::ui
