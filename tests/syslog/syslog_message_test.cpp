// The record's own rules: defaults, the validating setters and the MSG part.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string_view>

#include "support/expect_error.h"
#include "support/fixed_clock.h"
#include "support/trace.h"
#include "syslog/syslog_message.h"
#include "syslog/syslog_msg_part.h"
#include "syslog_test_support.h"

namespace kestrin::syslog {
namespace {

using namespace test;

class SyslogMessageTest : public ::testing::Test {
protected:
    FixedClock clock{kNow};
    TIdSysLogMessage message{kLocalHost, clock};

    void ExpectPri(int pri, TIdSyslogFacility facility, TIdSyslogSeverity severity) const {
        EXPECT_EQ(message.Pri(), pri);
        EXPECT_EQ(message.Facility(), facility);
        EXPECT_EQ(message.Severity(), severity);
    }
};

TEST_F(SyslogMessageTest, NewRecord) {
    ExpectPri(13, sfUserLevel, slNotice);
    EXPECT_EQ(message.Hostname(), kLocalHost);
    EXPECT_EQ(message.TimeStamp(), base::LocalDateTime{});
    EXPECT_EQ(message.RawMessage(), u"");
    EXPECT_EQ(message.Peer(), u"");
    EXPECT_EQ(message.Msg().Text(), u"");
    EXPECT_EQ(message.Msg().PID(), 0);
    EXPECT_FALSE(message.Msg().PIDAvailable());

    EXPECT_EQ(TIdSysLogMessage(u"", clock).Hostname(), u"");
    EXPECT_THROW_MSG(TIdSysLogMessage(u"my desk", clock), EInvalidSyslogMessage,
                     u"Ungültiger Host-Name. Ein SYSLOG-Host-Name darf keine Leerzeichen enthalten (\"my desk\")+");
}

TEST_F(SyslogMessageTest, PriSetter) {
    struct Case {
        int pri;
        TIdSyslogFacility facility;
        TIdSyslogSeverity severity;
        std::u16string_view error;  // empty: accepted
    };
    const Case cases[] = {
        {0, sfKernel, slEmergency, u""},
        {13, sfUserLevel, slNotice, u""},
        {132, sfLocalUseZero, slWarning, u""},
        {191, sfLocalUseSeven, slDebug, u""},
        {192, sfUserLevel, slNotice, u"Ungültige Syslog-Botschaft: Inkorrekte PRI-Nummer \"192\""},
        {255, sfUserLevel, slNotice, u"Ungültige Syslog-Botschaft: Inkorrekte PRI-Nummer \"255\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pri);
        TIdSysLogMessage record(kLocalHost, clock);
        if (c.error.empty()) {
            record.SetPri(static_cast<TIdSyslogPRI>(c.pri));
        } else {
            EXPECT_THROW_MSG(record.SetPri(static_cast<TIdSyslogPRI>(c.pri)), EInvalidSyslogMessage, c.error);
        }
        EXPECT_EQ(record.Pri(), c.error.empty() ? c.pri : 13);
        EXPECT_EQ(record.Facility(), c.facility);
        EXPECT_EQ(record.Severity(), c.severity);
    }
}

// Each setter changes one half of Pri and keeps the other.
TEST_F(SyslogMessageTest, FacilityAndSeveritySetters) {
    message.SetSeverity(slWarning);
    ExpectPri(12, sfUserLevel, slWarning);
    message.SetFacility(sfLocalUseZero);
    ExpectPri(132, sfLocalUseZero, slWarning);
    message.SetPri(132);
    ExpectPri(132, sfLocalUseZero, slWarning);
    message.SetFacility(sfLocalUseSeven);
    message.SetSeverity(slDebug);
    ExpectPri(191, sfLocalUseSeven, slDebug);
    message.SetFacility(sfKernel);
    message.SetSeverity(slEmergency);
    ExpectPri(0, sfKernel, slEmergency);

    // Values outside the enumerations would break Pri = Facility * 8 + Severity.
    EXPECT_THROW(message.SetFacility(static_cast<TIdSyslogFacility>(24)), EInvalidSyslogMessage);
    EXPECT_THROW(message.SetFacility(static_cast<TIdSyslogFacility>(32)), EInvalidSyslogMessage);
    EXPECT_THROW(message.SetSeverity(static_cast<TIdSyslogSeverity>(8)), EInvalidSyslogMessage);
    ExpectPri(0, sfKernel, slEmergency);
}

TEST_F(SyslogMessageTest, HostnameSetter) {
    struct Case {
        std::u16string_view hostname;
        bool refused;
    };
    const Case cases[] = {
        {u"router", false},    {u"router.example.net", false}, {u"", false},      {kLocalHost, false},
        {u"two words", true},  {u" router", true},             {u"router ", true}, {u" ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.hostname));
        TIdSysLogMessage record(kLocalHost, clock);
        if (c.refused) {
            EXPECT_THROW_MSG(record.SetHostname(c.hostname), EInvalidSyslogMessage,
                             u"Ungültiger Host-Name. Ein SYSLOG-Host-Name darf keine Leerzeichen enthalten (\"" +
                                 std::u16string(c.hostname) + u"\")+");
        } else {
            record.SetHostname(c.hostname);
        }
        EXPECT_EQ(record.Hostname(), c.refused ? kLocalHost : c.hostname);
    }
}

// Assigning a raw text parses it afresh: nothing of the previous parse stays.
TEST_F(SyslogMessageTest, RawMessageSetterParses) {
    ReadDatagram(message, "<30>Dec  8 10:15:03 router dnsmasq[412]: query done");
    ExpectRecord(message, u"<30>Dec  8 10:15:03 router dnsmasq[412]: query done",
                 {30, At(12, 8, 10, 15, 3), u"router", u"dnsmasq", 412, u"query done"});

    // Characters above 255 can only come this way; the host name masks them.
    message.SetRawMessage(u"Dec  8 10:15:03 r\u00E4\u4E2Duter app: gr\u00FC\u00DF");
    ExpectRecord(message, u"Dec  8 10:15:03 r\u00E4\u4E2Duter app: gr\u00FC\u00DF",
                 {13, At(12, 8, 10, 15, 3), u"r??uter", u"app", kNoPid, u"gr\u00FC\u00DF"});

    message.SetRawMessage(u"link down");
    ExpectRecord(message, u"link down", {13, kNow, kPeer, u"link", kNoPid, u"down"});
}

// Text splits into Process, PID and Content and joins them again.
TEST(SyslogMsgPartTest, Text) {
    struct Case {
        std::u16string_view text;
        std::u16string_view process;
        std::int32_t pid;
        std::u16string_view content;
        std::u16string_view joined;
    };
    const Case cases[] = {
        {u"dnsmasq[412]: query done", u"dnsmasq", 412, u"query done", u"dnsmasq[412]: query done"},
        {u"kernel:eth0 up", u"kernel", kNoPid, u"eth0 up", u"kernel: eth0 up"},
        {u"sshd[abc]: x", u"sshd", kNoPid, u"x", u"sshd: x"},
        {u"app[-5]: x", u"app", -5, u"x", u"app[-5]: x"},
        {u"[0]: x", u"", 0, u"x", u"[0]: x"},
        {u"\u00E4pp: x", u"", kNoPid, u"\u00E4pp: x", u": \u00E4pp: x"},
        {u": ", u"", kNoPid, u"", u""},
        {u"", u"", kNoPid, u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.text));
        TIdSysLogMsgPart part;
        part.SetText(c.text);
        EXPECT_EQ(part.Process(), c.process);
        EXPECT_EQ(part.PID(), c.pid);
        EXPECT_EQ(part.PIDAvailable(), c.pid != kNoPid);
        EXPECT_EQ(part.Content(), c.content);
        EXPECT_EQ(part.Text(), c.joined);
    }
}

TEST(SyslogMsgPartTest, FieldSetters) {
    struct PidCase {
        std::int32_t pid;
        bool available;
    };
    const PidCase pidCases[] = {{-1, false}, {0, true}, {412, true}, {-2, true}, {INT_MIN, true}};
    for (const PidCase& c : pidCases) {
        SCOPED_TRACE(c.pid);
        TIdSysLogMsgPart part;
        part.SetPIDAvailable(!c.available);
        part.SetPID(c.pid);
        EXPECT_EQ(part.PID(), c.pid);
        EXPECT_EQ(part.PIDAvailable(), c.available);
    }

    struct ProcessCase {
        std::u16string_view given;
        std::u16string_view stored;
    };
    const ProcessCase processCases[] = {
        {u"dnsmasq", u"dnsmasq"},
        {u"dnsmasq-dhcp", u"dnsmasq"},
        {u"-dhcp", u""},
        {u"\u00E4pp", u""},
        {u"Abcdefghijklmnopqrstuvwxyz0123456789", u"Abcdefghijklmnopqrstuvwxyz012345"},
    };
    for (const ProcessCase& c : processCases) {
        SCOPED_TRACE(Trace(c.given));
        TIdSysLogMsgPart part;
        part.SetProcess(c.given);
        EXPECT_EQ(part.Process(), c.stored);
    }

    // The joined text follows PIDAvailable, not PID.
    TIdSysLogMsgPart part;
    part.SetProcess(u"su");
    part.SetPID(5);
    part.SetContent(u"session opened");
    EXPECT_EQ(part.Text(), u"su[5]: session opened");
    part.SetPIDAvailable(false);
    EXPECT_EQ(part.Text(), u"su: session opened");
}

// Msg copies through the joined text, so a PID that is not available is not copied.
TEST_F(SyslogMessageTest, MsgSetterCopiesThroughText) {
    TIdSysLogMsgPart part;
    part.SetProcess(u"su");
    part.SetPID(5);
    part.SetPIDAvailable(false);
    part.SetContent(u"session opened");
    message.SetMsg(part);
    part.SetContent(u"changed afterwards");

    EXPECT_EQ(message.Msg().Process(), u"su");
    EXPECT_EQ(message.Msg().PID(), kNoPid);
    EXPECT_FALSE(message.Msg().PIDAvailable());
    EXPECT_EQ(message.Msg().Content(), u"session opened");
}

}  // namespace
}  // namespace kestrin::syslog
