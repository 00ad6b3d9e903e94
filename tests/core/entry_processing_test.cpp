#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/text.h"
#include "core/entry_line.h"
#include "core/monitor_core.h"
#include "support/fixed_clock.h"
#include "support/recording_view.h"

namespace kestrin::core {
namespace {

using base::Utf16ToUtf8;
using syslog::TIdSysLogMessage;

// The daily log and the regional formats, recorded into the view's calls so
// that the order of all the monitor's outputs shows.
class RecordingLog final : public DailyLog, public base::RegionalFormats {
public:
    explicit RecordingLog(std::vector<std::string>& calls) : calls_(calls) {}
    bool failAppend = false;

    void AppendLogLine(const std::u16string& line) override {
        if (failAppend) throw std::runtime_error("E/A-Fehler 32");
        calls_.push_back("append " + Utf16ToUtf8(line));
    }
    // The prefix is built from these, so they show when it is built.
    std::u16string ShortDate(const base::LocalDateTime&) const override {
        calls_.push_back("prefix");
        return u"08.12.2026";
    }
    std::u16string LongTime(const base::LocalDateTime&) const override { return u"10:15:03"; }

private:
    std::vector<std::string>& calls_;
};

constexpr char16_t kPrefix[] = u"Tue 08.12.2026 10:15:03 ";

class EntryProcessingTest : public ::testing::Test {
protected:
    TIdSysLogMessage Message(std::u16string_view raw, std::u16string_view peer = u"192.0.2.7") {
        TIdSysLogMessage message(u"workstation", clock);
        message.SetPeer(peer);
        message.SetRawMessage(raw);
        return message;
    }
    TIdSysLogMessage Message(int facility, int severity) {
        return Message(u"<" + base::DecimalText(facility * 8 + severity) + u">Dec  8 10:15:03 router msg");
    }
    void SetSwitches(bool errors, bool warnings, bool infos) {
        core.errors = errors;
        core.warnings = warnings;
        core.infos = infos;
    }

    FixedClock clock;
    test::RecordingView out;
    RecordingLog log{out.calls};
    MonitorCore core{out.View(), log, clock, log};
};

TEST_F(EntryProcessingTest, ShownEntryReachesItsOutputsInOrder) {
    SetSwitches(true, true, true);
    const std::u16string raw = u"<30>Dec  8 10:15:03 router dnsmasq[412]: query done";
    core.IdSyslogServer1Syslog(Message(raw));

    const std::string line = Utf16ToUtf8(kPrefix + (u": router >>SYSDAEMON.Info<<" + raw));
    const std::vector<std::string> expected{
        "ownerdraw",
        "prefix",
        "append " + line,
        "add 16777215 " + line,
        "balloon New Kestrin Info|2|5000|keep|" + line,
        "extent 1500",
    };
    EXPECT_EQ(out.calls, expected);
}

TEST_F(EntryProcessingTest, SeverityClassesDecideListBalloonAndExtent) {
    struct Case {
        int severity;
        bool errors, warnings, infos;
        const char* balloon;  // nullptr: not listed
        bool extent;
    };
    const Case cases[] = {
        {0, true, false, false, "New Kestrin Error|1", true},
        {3, true, false, false, "New Kestrin Error|1", true},
        {2, false, true, true, nullptr, true},  // errors off: logged only, extent still set
        {4, false, true, false, "New Kestrin Warning|3", true},
        {7, false, true, false, "New Kestrin Warning|3", true},  // debug goes with warnings
        {7, true, false, true, nullptr, true},
        {4, true, false, true, nullptr, true},
        {5, false, false, true, "New Kestrin Info|2", true},
        {6, false, false, true, "New Kestrin Info|2", true},
        {5, true, true, false, nullptr, false},  // infos off: not even the extent
        {6, true, true, false, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("severity " + std::to_string(c.severity));
        out.calls.clear();
        SetSwitches(c.errors, c.warnings, c.infos);
        core.IdSyslogServer1Syslog(Message(1, c.severity));

        ASSERT_GE(out.calls.size(), 3u);
        EXPECT_EQ(out.calls[0], "ownerdraw");
        EXPECT_EQ(out.calls[2].rfind("append ", 0), 0u);
        std::vector<std::string> rest(out.calls.begin() + 3, out.calls.end());
        std::vector<std::string> kinds;
        for (const auto& call : rest) kinds.push_back(call.substr(0, call.find(' ')));
        std::vector<std::string> expectedKinds;
        if (c.balloon) expectedKinds = {"add", "balloon"};
        if (c.extent) expectedKinds.push_back("extent");
        EXPECT_EQ(kinds, expectedKinds);
        if (c.balloon) {
            EXPECT_EQ(rest[1].rfind(std::string("balloon ") + c.balloon + "|5000|keep|", 0), 0u) << rest[1];
        }
    }
}

TEST_F(EntryProcessingTest, ClassificationText) {
    struct Case {
        int facility, severity;
        const char16_t* classification;
    };
    const Case cases[] = {
        {4, 2, u" >>SECURITY1.Critical<<"},
        {3, 6, u" >>SYSDAEMON.Info<<"},
        {2, 5, u" >> MAIL.Notice<<"},
        {16, 4, u" >>Local.Warning<<"},
        {23, 4, u" >>Local.Warning<<"},
        {0, 0, u" >>Kernel.Emergency<<"},
        {15, 7, u" >>CLOCK2.Debug<<"},
        {9, 1, u" >>CLOCK1.Alert<<"},
        {13, 3, u" >>LOGAUDIT.Error<<"},
    };
    for (const Case& c : cases) {
        const TIdSysLogMessage message = Message(c.facility, c.severity);
        const std::u16string line = EntryLine(kPrefix, message);
        EXPECT_NE(line.find(c.classification), std::u16string::npos) << Utf16ToUtf8(line);
    }
}

TEST_F(EntryProcessingTest, RawTextGoesIntoTheLineUnchanged) {
    constexpr char16_t kRaw[] = u"<11>no header\0 \uFFFD\ttab\r\n";
    const std::u16string raw(kRaw, std::size(kRaw) - 1);
    const std::u16string line = EntryLine(kPrefix, Message(raw, u"10.0.0.1"));
    EXPECT_EQ(line, kPrefix + (u": 10.0.0.1 >>User.Error<<" + raw));
}

TEST_F(EntryProcessingTest, EmptyDatagramIsAUserNoticeFromTheSender) {
    TIdSysLogMessage message(u"workstation", clock);
    message.ReadFromBytes({}, u"::1");
    EXPECT_EQ(EntryLine(kPrefix, message), kPrefix + std::u16string(u": ::1 >>User.Notice<<"));
}

TEST_F(EntryProcessingTest, BalloonSwitchIsReadForEveryMessage) {
    SetSwitches(true, true, true);
    out.balloonSwitch = false;
    core.IdSyslogServer1Syslog(Message(1, 3));
    out.balloonSwitch = true;
    core.IdSyslogServer1Syslog(Message(1, 3));
    int balloons = 0, adds = 0;
    for (const auto& call : out.calls) {
        balloons += call.rfind("balloon ", 0) == 0;
        adds += call.rfind("add ", 0) == 0;
    }
    EXPECT_EQ(adds, 2);
    EXPECT_EQ(balloons, 1);
}

TEST_F(EntryProcessingTest, FailedLogAppendShowsNothingAndTheNextMessageWorks) {
    SetSwitches(true, true, true);
    log.failAppend = true;
    EXPECT_THROW(core.IdSyslogServer1Syslog(Message(1, 3)), std::runtime_error);
    EXPECT_EQ(out.calls, (std::vector<std::string>{"ownerdraw", "prefix"}));

    out.calls.clear();
    log.failAppend = false;
    core.IdSyslogServer1Syslog(Message(1, 3));
    EXPECT_EQ(out.calls.size(), 6u);
}

TEST_F(EntryProcessingTest, RefusedListEntryStopsAfterTheLogLine) {
    SetSwitches(true, true, true);
    out.failAdd = true;
    EXPECT_THROW(core.IdSyslogServer1Syslog(Message(1, 3)), std::runtime_error);
    ASSERT_EQ(out.calls.size(), 3u);
    EXPECT_EQ(out.calls[2].rfind("append ", 0), 0u);
}

TEST_F(EntryProcessingTest, PrefixUsesTheTimeOfProcessingNotTheHeader) {
    clock.Set({2026, 12, 13, 0, 0, 0, 0});
    EXPECT_EQ(core.TimeStampPrefix(), u"Sun 08.12.2026          ");  // formats fixed by the recorder
}

}  // namespace
}  // namespace kestrin::core
