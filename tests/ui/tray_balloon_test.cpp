// Balloons from the tray icon: what each request puts into the record, how
// a new one replaces the last, and how they are cleared by the timer, the
// shell's events and a click.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tray_icon_fixture.h"

namespace kestrin::test {
namespace {

class TrayBalloonTest : public TrayIconTest {
protected:
    void SetUp() override {
        TrayIconTest::SetUp();
        IntoTheTray();
    }
    // The empty requests that clear the balloons.
    std::size_t ClearingRequests() const {
        std::size_t count = 0;
        for (const ShellCall& call : shell.calls) {
            if (call.message == NIM_MODIFY && call.Info().empty() && call.InfoTitle().empty()) ++count;
        }
        return count;
    }
    // A balloon as entry processing asks for it, handed to the shell once its wait is over.
    void Balloon(const std::u16string& title, const std::u16string& value, core::TBalloonType type = core::btError,
                 int delayMilliseconds = 5000, bool cancelPrevious = false) {
        tray.BalloonHint(title, value, type, delayMilliseconds, cancelPrevious);
        TimerExpires(ui::kBalloonSendTimerId);
    }
    // What a click on the balloon sends to clear it: one empty request more
    // than the balloons counted as shown.
    std::size_t RequestsToClear() {
        shell.calls.clear();
        IconEvent(NIN_BALLOONUSERCLICK);
        return ClearingRequests();
    }
};

TEST_F(TrayBalloonTest, ARequestFillsTheRecordCountsAndStartsTheTimer) {
    Balloon(u"Kestrin", u"Tue 08.12.2026 10:15:03 : router >>User.Warning<<<12>disk", core::btWarning, 5000,
                     false);
    ASSERT_EQ(shell.calls.size(), 1u);
    const ShellCall& call = shell.calls[0];
    EXPECT_EQ(call.message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(call.Flags(), static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(call.InfoTitle(), L"Kestrin");
    EXPECT_EQ(call.Info(), L"Tue 08.12.2026 10:15:03 : router >>User.Warning<<<12>disk");
    EXPECT_EQ(call.data.uTimeOut, 5000u);
    EXPECT_EQ(call.data.dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(call.data.uID, 1u);
    EXPECT_EQ(shell.timers[ui::kBalloonTimerId], 5000u);
    EXPECT_EQ(RequestsToClear(), 2u);
}

TEST_F(TrayBalloonTest, EachTypeSendsItsIcon) {
    const std::pair<core::TBalloonType, DWORD> kinds[] = {
        {core::btNone, NIIF_NONE}, {core::btError, NIIF_ERROR}, {core::btInfo, NIIF_INFO}, {core::btWarning, NIIF_WARNING}};
    for (const auto& [type, flags] : kinds) {
        Balloon(u"t", u"v", type, 5000, false);
        EXPECT_EQ(shell.Last().data.dwInfoFlags, flags);
    }
}

TEST_F(TrayBalloonTest, TitleAndTextAreCutTo63And255Characters) {
    Balloon(std::u16string(70, u'T'), std::u16string(300, u'v'), core::btInfo, 5000, false);
    EXPECT_EQ(shell.Last().InfoTitle(), std::wstring(63, L'T'));
    EXPECT_EQ(shell.Last().Info(), std::wstring(255, L'v'));

    // A character outside the basic plane is not cut in halves.
    std::u16string text(254, u'v');
    text += u"\U0001F525";
    Balloon(u"t", text, core::btInfo, 5000, false);
    EXPECT_EQ(shell.Last().Info(), std::wstring(254, L'v'));
}

TEST_F(TrayBalloonTest, ASecondBalloonReplacesTheFirstAndRestartsTheTimer) {
    Balloon(u"Kestrin", u"first", core::btError, 5000, false);
    clock.Set({2026, 12, 8, 10, 15, 5, 250});
    Balloon(u"Kestrin", u"second", core::btInfo, 5000, false);
    // Straight over the first, nothing in between.
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY}));
    EXPECT_EQ(shell.Last().Info(), L"second");
    EXPECT_EQ(shell.timerStarts[ui::kBalloonTimerId], 2);
    EXPECT_EQ(shell.timers[ui::kBalloonTimerId], 5000u);
    // The shell's time-out six seconds after the first is early for the second.
    clock.Set({2026, 12, 8, 10, 15, 9, 250});
    shell.calls.clear();
    IconEvent(NIN_BALLOONTIMEOUT);
    EXPECT_TRUE(shell.calls.empty());

    // Five seconds after the second: cleared, one request more than the one shown.
    shell.calls.clear();
    TimerExpires(ui::kBalloonTimerId);
    EXPECT_FALSE(shell.TimerRunning(ui::kBalloonTimerId));
    EXPECT_EQ(ClearingRequests(), 2u);
    EXPECT_EQ(shell.Last().data.dwInfoFlags, static_cast<DWORD>(NIIF_NONE));
    // None left: the count does not go below 0.
    EXPECT_EQ(RequestsToClear(), 1u);
}

TEST_F(TrayBalloonTest, ABurstAsksTheShellOnceAndAStormIsClearedByTwoRequests) {
    for (const char16_t* line : {u"first", u"second", u"third"}) tray.BalloonHint(u"Kestrin", line, core::btError, 5000, false);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(shell.timerStarts[ui::kBalloonSendTimerId], 1);
    TimerExpires(ui::kBalloonSendTimerId);
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.Last().Info(), L"third");
    EXPECT_TRUE(shell.TimerRunning(ui::kBalloonTimerId));
    for (int i = 0; i < 1000; ++i) Balloon(u"Kestrin", u"storm");
    EXPECT_EQ(RequestsToClear(), 2u);

    // The icon gone before the wait is over: nothing goes to the shell.
    tray.BalloonHint(u"Kestrin", u"late", core::btError, 5000, false);
    tray.SetIconVisible(false);
    shell.calls.clear();
    TimerExpires(ui::kBalloonSendTimerId);
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayBalloonTest, CancelPreviousClearsFirst) {
    Balloon(u"Kestrin", u"first", core::btError, 5000, false);
    shell.calls.clear();
    Balloon(u"Kestrin", u"second", core::btError, 2000, true);
    EXPECT_EQ(ClearingRequests(), 2u);
    EXPECT_EQ(shell.Last().Info(), L"second");
    // Its own display time counts, not the clearing requests': three seconds
    // on, the shell's time-out clears the one balloon.
    clock.Set({2026, 12, 8, 10, 15, 6, 250});
    shell.calls.clear();
    IconEvent(NIN_BALLOONTIMEOUT);
    EXPECT_EQ(ClearingRequests(), 2u);
}

TEST_F(TrayBalloonTest, LongBalloonsAreLeftToTheShell) {
    Balloon(u"Kestrin", u"long", core::btInfo, 10000, false);
    EXPECT_FALSE(shell.TimerRunning(ui::kBalloonTimerId));
    EXPECT_EQ(RequestsToClear(), 2u);
}

TEST_F(TrayBalloonTest, NoBalloonWhileTheIconIsAbsentOrTheShellIsTooOld) {
    Balloon(u"Kestrin", u"shown", core::btError, 5000, false);
    tray.SetIconVisible(false);
    shell.calls.clear();
    clock.Set({2026, 12, 8, 10, 15, 6, 250});
    Balloon(u"Kestrin", u"dropped", core::btError, 5000, false);
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_EQ(shell.timerStarts[ui::kBalloonTimerId], 1);

    // Dropped without a trace: six seconds after the shown one, the shell's
    // time-out clears that one alone.
    tray.SetIconVisible(true);
    clock.Set({2026, 12, 8, 10, 15, 9, 250});
    shell.calls.clear();
    IconEvent(NIN_BALLOONTIMEOUT);
    EXPECT_EQ(ClearingRequests(), 2u);

    shell.calls.clear();
    shell.version = {4, 0};
    Balloon(u"Kestrin", u"dropped", core::btError, 5000, false);
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayBalloonTest, ARefusedRequestLeavesCountAndTimerAlone) {
    shell.refused.insert(NIM_MODIFY);
    Balloon(u"Kestrin", u"refused", core::btError, 5000, false);
    EXPECT_FALSE(shell.TimerRunning(ui::kBalloonTimerId));
    shell.refused.clear();
    EXPECT_EQ(RequestsToClear(), 1u);
}

TEST_F(TrayBalloonTest, AClickOnTheBalloonClearsIt) {
    Balloon(u"Kestrin", u"line", core::btError, 5000, false);
    shell.calls.clear();
    EXPECT_EQ(IconEvent(NIN_BALLOONUSERCLICK), 1);
    EXPECT_EQ(ClearingRequests(), 2u);
    // No click reported for it.
    EXPECT_FALSE(shell.TimerRunning(ui::kClickTimerId));
    EXPECT_EQ(RequestsToClear(), 1u);
}

TEST_F(TrayBalloonTest, TheShellsTimeOutClearsOnlyAfterTheDisplayTime) {
    // Across the turn of a year.
    clock.Set({2026, 12, 31, 23, 59, 58, 500});
    Balloon(u"Kestrin", u"line", core::btError, 5000, false);
    shell.calls.clear();
    // 5.75 s later: not more than five whole seconds.
    clock.Set({2027, 1, 1, 0, 0, 4, 250});
    EXPECT_EQ(IconEvent(NIN_BALLOONTIMEOUT), 1);
    EXPECT_TRUE(shell.calls.empty());
    // Six whole seconds after the request.
    clock.Set({2027, 1, 1, 0, 0, 4, 500});
    EXPECT_EQ(IconEvent(NIN_BALLOONTIMEOUT), 1);
    EXPECT_EQ(ClearingRequests(), 2u);

    shell.calls.clear();
    EXPECT_EQ(IconEvent(NIN_BALLOONHIDE), 1);
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayBalloonTest, TheVersionRequestAfterABalloonStillAsksForVersion3) {
    Balloon(u"Kestrin", u"line", core::btError, 5000, false);
    tray.SetIconVisible(false);
    shell.calls.clear();
    tray.SetIconVisible(true);
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION}));
    EXPECT_EQ(shell.calls[1].data.uTimeOut, 3u);
}

}  // namespace
}  // namespace kestrin::test
